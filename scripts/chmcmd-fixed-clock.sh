#!/usr/bin/env bash
# chmcmd with its clock held at SOURCE_DATE_EPOCH: it stamps the compiled help with the time and
# seeds from the clock and from getrandom, and reads them through system calls that no preloaded
# library can intercept, so strace answers them. It also writes some memory it never set, which
# differs with where the system places the heap and stack: address randomisation is turned off.
set -euo pipefail
epoch=${SOURCE_DATE_EPOCH:?SOURCE_DATE_EPOCH is needed}
# struct timeval and struct timespec on x86-64: two little-endian 64-bit numbers.
time_bytes=$(printf '%016x' "$epoch" | sed -E 's/(..)(..)(..)(..)(..)(..)(..)(..)/\8\7\6\5\4\3\2\1/')0000000000000000
exec setarch "$(uname -m)" -R strace -f -o /dev/null -e trace=time,gettimeofday,clock_gettime,getrandom \
  -e inject=time:retval="$epoch" \
  -e inject=gettimeofday:poke_exit=@arg1="$time_bytes" \
  -e inject=clock_gettime:poke_exit=@arg2="$time_bytes" \
  -e inject=getrandom:poke_exit=@arg1=0000000000000000 \
  "${QS_CHMCMD_REAL:-chmcmd}" "$@"
