#pragma once
// The management-instrumentation query service of the local machine.
#include <map>
#include <string>
#include <vector>

namespace platform {

// One result object: property name -> value as text (null values are absent).
using WmiObject = std::map<std::string, std::string>;

// Runs a WQL query in root\CIMV2, forward-only. False when no enumerator could be had
// (always on systems without the service); automation failures raise EOSError.
bool WmiQuery(const std::string& wql, std::vector<WmiObject>& objects);

} // namespace platform
