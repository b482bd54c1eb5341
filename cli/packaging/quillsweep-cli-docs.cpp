// Writes the manual page and the bash and zsh completions of quillsweep-cli from the tool's own
// help texts and option names, so what is installed says exactly what `help` says.
// Usage: quillsweep-cli-docs OUTPUT_FOLDER VERSION
#include "cli/CliHelp.h"
#include "cli/CliNames.h"
#include "engine/uEngineConstants.h"

#include <cctype>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const std::string kTool = "quillsweep-cli";

// ---- The help texts read as a structure ------------------------------------------------------

struct TBlock {
    enum Kind { Prose, Heading, Item, Literal } kind;
    std::string term; // Item: "--options LIST"; Heading: "Flags:"
    std::string text; // Prose: the paragraph's lines; Item: the description; Literal: one line
    bool startsParagraph = false; // the first block after a blank line
};

struct THelp {
    std::string usage; // "scan TARGET... SELECTION [FLAGS]"
    std::vector<TBlock> blocks;
};

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The help's layout: "Usage:" first, paragraphs apart by blank lines, "Heading:" lines, items
// indented by two with their text after a gap of two spaces, and examples indented without a gap.
THelp ReadHelp(const std::string& command)
{
    THelp help;
    const std::vector<std::string> lines = Lines(cli_help::HelpText(command));
    const std::string usage = "Usage: " + kTool + " ";
    if (lines.empty() || !StartsWith(lines[0], usage))
        throw std::runtime_error("the help of \"" + command + "\" does not start with its usage");
    help.usage = lines[0].substr(usage.size());
    bool blank = true;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty()) {
            blank = true;
            continue;
        }
        TBlock block{TBlock::Prose, {}, {}, blank};
        if (StartsWith(line, "  ")) {
            const std::string body = line.substr(line.find_first_not_of(' '));
            const size_t gap = body.find("  ");
            if (gap == std::string::npos) {
                block.kind = TBlock::Literal;
                block.text = body;
            } else {
                block.kind = TBlock::Item;
                block.term = body.substr(0, gap);
                block.text = body.substr(body.find_first_not_of(' ', gap));
            }
        } else if (line.back() == ':') {
            block.kind = TBlock::Heading;
            block.term = line;
        } else if (!help.blocks.empty() && help.blocks.back().kind == TBlock::Prose && !blank) {
            help.blocks.back().text += "\n" + line;
            continue;
        } else {
            block.text = line;
        }
        help.blocks.push_back(block);
        blank = false;
    }
    return help;
}

struct TFlag {
    std::vector<std::string> names; // "-0", "--null"
    std::string value;              // "LIST", "FILE", "safe|all"; empty for a flag without one
    std::string description;
};

std::vector<TFlag> Flags(const THelp& help)
{
    std::vector<TFlag> flags;
    for (const TBlock& block : help.blocks) {
        if (block.kind != TBlock::Item || block.term[0] != '-')
            continue;
        TFlag flag;
        flag.description = block.text;
        std::string rest = block.term;
        for (size_t comma; (comma = rest.find(", ")) != std::string::npos; rest = rest.substr(comma + 2))
            flag.names.push_back(rest.substr(0, comma));
        const std::vector<std::string> last = Words(rest);
        flag.names.push_back(last[0]);
        if (last.size() > 1)
            flag.value = last[1];
        flags.push_back(flag);
    }
    return flags;
}

// What a value or an argument is, by the name the help gives it.
enum class TValue { None, Directories, Files, Commands, OptionList, Words };

TValue ValueKind(const std::string& name)
{
    if (name == "LIST")
        return TValue::OptionList;
    if (name == "FILE" || name == "PATH")
        return TValue::Files;
    if (name == "TARGET...")
        return TValue::Directories; // scan and clean take folders only
    if (name == "COMMAND" || name == "[COMMAND]")
        return TValue::Commands;
    if (name.find('|') != std::string::npos)
        return TValue::Words;
    return TValue::None;
}

// The arguments a command takes besides its flags, from its usage line.
TValue ArgumentKind(const THelp& help)
{
    const std::vector<std::string> words = Words(help.usage);
    return words.size() > 1 ? ValueKind(words[1]) : TValue::None;
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> OptionWords()
{
    std::vector<std::string> words = cli_names::AllNames();
    for (int i = 0; i < CleanupOptionCount; ++i)
        words.push_back(std::to_string(i));
    return words;
}

std::string Join(const std::vector<std::string>& words, const std::string& separator = " ")
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : separator) + word;
    return text;
}

// ---- Manual page -----------------------------------------------------------------------------

// Text as roff reads it literally: backslashes, minus signs (for flags that can be copied), and
// a control character at the start of a line.
std::string Roff(const std::string& text, bool lineStart = true)
{
    std::string out;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\''))
            out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

// A usage or an item's term: literal words bold, placeholders (capitals) italic, marks roman.
std::string RoffTerm(const std::string& term)
{
    std::string out;
    size_t i = 0;
    while (i < term.size()) {
        const size_t start = i;
        while (i < term.size() && (std::isalnum(static_cast<unsigned char>(term[i])) || term[i] == '-' || term[i] == '_'))
            ++i;
        if (i == start) {
            out += Roff(std::string(1, term[i]), i == 0);
            ++i;
            continue;
        }
        const std::string word = term.substr(start, i - start);
        bool capitals = false;
        for (char c : word)
            capitals = capitals || std::isupper(static_cast<unsigned char>(c));
        for (char c : word)
            capitals = capitals && !std::islower(static_cast<unsigned char>(c));
        out += (capitals && word[0] != '-' ? "\\fI" : "\\fB") + Roff(word) + "\\fR";
    }
    return out;
}

void WriteBlocks(std::ostream& out, const std::vector<TBlock>& blocks)
{
    bool literal = false;
    auto endLiteral = [&] {
        if (literal)
            out << ".fi\n.RE\n";
        literal = false;
    };
    for (const TBlock& block : blocks) {
        if (block.kind != TBlock::Literal || block.startsParagraph)
            endLiteral();
        switch (block.kind) {
        case TBlock::Heading:
            out << ".PP\n\\fB" << Roff(block.term) << "\\fR\n";
            break;
        case TBlock::Prose:
            out << ".PP\n" << Roff(block.text) << "\n";
            break;
        case TBlock::Item:
            out << ".TP\n" << RoffTerm(block.term) << "\n" << Roff(block.text) << "\n";
            break;
        case TBlock::Literal:
            // Examples sit right under their heading.
            if (!literal)
                out << (&block != &blocks.front() && (&block)[-1].kind == TBlock::Heading ? "" : ".PP\n") << ".RS 4\n.nf\n";
            literal = true;
            out << Roff(block.text) << "\n";
            break;
        }
    }
    endLiteral();
}

void WriteManual(std::ostream& out, const std::string& version)
{
    THelp top = ReadHelp("");
    // The tool's statuses get their own section; the rest of their paragraph stays.
    std::vector<std::pair<std::string, std::string>> statuses;
    for (TBlock& block : top.blocks) {
        const size_t at = block.text.find("Exit status:");
        if (block.kind != TBlock::Prose || at == std::string::npos)
            continue;
        std::string list = Replace(block.text.substr(at + 12), "\n", " ");
        block.text.erase(at);
        while (!block.text.empty() && std::isspace(static_cast<unsigned char>(block.text.back())))
            block.text.pop_back();
        for (size_t i = 0; i < list.size();) {
            size_t next = i;
            do
                next = list.find(", ", next + 1);
            while (next != std::string::npos && !std::isdigit(static_cast<unsigned char>(list[next + 2])));
            const std::string item = list.substr(i, next == std::string::npos ? std::string::npos : next - i);
            const std::vector<std::string> words = Words(item);
            const size_t text = item.find(words.at(0)) + words[0].size() + 1;
            statuses.emplace_back(words[0], item.substr(text));
            i = next == std::string::npos ? list.size() : next + 2;
        }
    }
    // "Scan folders for ..., as the window does." is the tool's one-line summary.
    std::string summary = top.blocks.at(0).text;
    summary[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(summary[0])));
    if (summary.back() == '.')
        summary.pop_back();

    out << ".\\\" Generated from the help texts of " << kTool << "; edit those instead.\n"
        << ".TH " << Roff("QUILLSWEEP-CLI") << " 1 \"\" \"Quillsweep " << Roff(version) << "\" \"User Commands\"\n"
        << ".SH NAME\n" << Roff(kTool) << " \\- " << Roff(summary) << "\n"
        << ".SH SYNOPSIS\n.nf\n";
    for (const std::string& command : cli_help::Commands())
        out << "\\fB" << Roff(kTool) << "\\fR " << RoffTerm(ReadHelp(command).usage) << "\n";
    out << "\\fB" << Roff(kTool) << "\\fR " << RoffTerm("-h | --help | -V | --version") << "\n.fi\n"
        << ".SH DESCRIPTION\n";
    WriteBlocks(out, top.blocks);
    out << ".SH COMMANDS\n";
    for (const std::string& command : cli_help::Commands()) {
        const THelp help = ReadHelp(command);
        out << ".SS " << Roff(command) << "\n" << "\\fB" << Roff(kTool) << "\\fR " << RoffTerm(help.usage) << "\n";
        WriteBlocks(out, help.blocks);
    }
    if (!statuses.empty()) {
        out << ".SH \"EXIT STATUS\"\n";
        for (const auto& [status, meaning] : statuses)
            out << ".TP\n.B " << Roff(status) << "\n" << Roff(meaning) << "\n";
    }
}

// ---- bash ------------------------------------------------------------------------------------

std::string BashWords(const std::vector<std::string>& words)
{
    return "'" + Join(words) + "'";
}

std::string BashValue(TValue kind, const std::string& value)
{
    switch (kind) {
    case TValue::Directories: return "_quillsweep_cli_paths -d";
    case TValue::Files: return "_quillsweep_cli_paths";
    case TValue::Commands: return "_quillsweep_cli_words " + BashWords(cli_help::Commands());
    case TValue::OptionList: return "_quillsweep_cli_option_list";
    case TValue::Words: return "_quillsweep_cli_words " + BashWords({Replace(value, "|", " ")});
    case TValue::None: break;
    }
    return ":";
}

void WriteBash(std::ostream& out)
{
    std::vector<std::string> topFlags;
    for (const TFlag& flag : Flags(ReadHelp("")))
        topFlags.insert(topFlags.end(), flag.names.begin(), flag.names.end());
    out << "# bash completion for " << kTool << "; generated from its help texts.\n"
        << R"(
_quillsweep_cli_words()
{
    local IFS=$'\n'
    COMPREPLY=($(IFS=' '; compgen -W "$1" -- "$cur"))
}

# Paths as bash-completion completes them when it is loaded, else bash's own (-d: folders only).
_quillsweep_cli_paths()
{
    if declare -F _filedir >/dev/null; then
        _filedir $1
        return
    fi
    compopt -o filenames 2>/dev/null
    local IFS=$'\n'
    COMPREPLY=($(compgen ${1:--f} -- "$cur"))
}

# --options takes a comma-separated list of names and indexes: complete its last item.
_quillsweep_cli_option_list()
{
    local head=
    [[ $cur == *,* ]] && head=${cur%,*},
    COMPREPLY=($(compgen -P "$head" -W ')" << Join(OptionWords()) << R"(' -- "${cur##*,}"))
}

_quillsweep_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} at=$((COMP_CWORD - 1))
    COMPREPLY=()
    # "--report=FILE": bash splits the "=" off.
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD-2]}
        at=$((COMP_CWORD - 2))
    fi
    if ((COMP_CWORD == 1)); then
        if [[ $cur == -* ]]; then
            _quillsweep_cli_words )" << BashWords(topFlags) << R"(
        else
            _quillsweep_cli_words )" << BashWords(cli_help::Commands()) << R"(
        fi
        return
    fi
    local command=${COMP_WORDS[1]} i flags=1 arguments=0
    for ((i = 2; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -- ]] && flags=
        [[ ${COMP_WORDS[i]} != -* ]] && ((arguments++))
    done
    if [[ $flags ]]; then
        ((at > 1)) && case $command:$prev in
)";
    std::map<std::string, std::vector<std::string>> valueCases;
    std::map<std::string, std::string> commandFlags;
    std::string arguments;
    for (const std::string& command : cli_help::Commands()) {
        const THelp help = ReadHelp(command);
        std::vector<std::string> names;
        for (const TFlag& flag : Flags(help)) {
            names.insert(names.end(), flag.names.begin(), flag.names.end());
            if (!flag.value.empty())
                for (const std::string& name : flag.names)
                    valueCases[BashValue(ValueKind(flag.value), flag.value)].push_back(command + ":" + name);
        }
        if (!names.empty())
            commandFlags[command] = BashWords(names);
        const TValue argument = ArgumentKind(help);
        // One command names one argument: only scan and clean take more than one.
        std::string when = argument == TValue::Directories ? "" : "((arguments == 0)) && ";
        if (argument != TValue::None)
            arguments += "        " + command + ") " + when + BashValue(argument, Words(help.usage)[1]) + " ;;\n";
    }
    for (const auto& [action, cases] : valueCases)
        out << "            " << Join(cases, "|") << ")\n                " << action << "\n                return ;;\n";
    out << R"(        esac
        if [[ $cur == -* ]]; then
            case $command in
)";
    for (const auto& [command, names] : commandFlags)
        out << "                " << command << ") _quillsweep_cli_words " << names << " ;;\n";
    out << R"(            esac
            return
        fi
    fi
    case $command in
)" << arguments
        << R"(    esac
}
complete -F _quillsweep_cli )" << kTool << "\n";
}

// ---- zsh -------------------------------------------------------------------------------------

// A text inside single quotes, as an _arguments description: brackets and colons are its syntax.
std::string ZshDescription(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '[' || c == ']' || c == ':' || c == '\\')
            out += '\\';
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out;
}

std::string ZshAction(TValue kind, const std::string& value)
{
    switch (kind) {
    case TValue::Directories: return "_files -/";
    case TValue::Files: return "_files";
    case TValue::Commands: return "(" + Join(cli_help::Commands()) + ")";
    case TValue::OptionList: return "_quillsweep-cli_option_list";
    case TValue::Words: return "(" + Replace(value, "|", " ") + ")";
    case TValue::None: break;
    }
    return " ";
}

void WriteZsh(std::ostream& out)
{
    out << "#compdef " << kTool << "\n# Generated from the help texts of " << kTool << ".\n\n"
        << "_quillsweep-cli_option_list() {\n  _sequence compadd - " << Join(OptionWords()) << "\n}\n\n"
        << "_quillsweep-cli() {\n  local curcontext=$curcontext state line\n  local -a commands\n  commands=(\n";
    const THelp top = ReadHelp("");
    for (const std::string& command : cli_help::Commands()) {
        std::string description;
        for (const TBlock& block : top.blocks)
            if (block.kind == TBlock::Item && block.term == command)
                description = block.text;
        // _describe reads only the first colon.
        out << "    '" << command << ":" << Replace(description, "'", "'\\''") << "'\n";
    }
    out << "  )\n  _arguments -C \\\n";
    for (const TFlag& flag : Flags(top))
        for (const std::string& name : flag.names)
            out << "    '(- : *)" << name << "[" << ZshDescription(flag.description) << "]' \\\n";
    out << "    '1:command:->command' \\\n    '*::argument:->argument'\n"
        << "  case $state in\n    command) _describe -t commands command commands ;;\n"
        << "    argument)\n      case $words[1] in\n";
    for (const std::string& command : cli_help::Commands()) {
        const THelp help = ReadHelp(command);
        out << "        " << command << ")\n          _arguments -S";
        for (const TFlag& flag : Flags(help)) {
            const std::string exclusive = flag.names.size() > 1 ? "(" + Join(flag.names) + ")" : "";
            for (const std::string& name : flag.names) {
                out << " \\\n            '" << exclusive << name << "[" << ZshDescription(flag.description) << "]";
                if (!flag.value.empty())
                    out << ":" << flag.value << ":" << ZshAction(ValueKind(flag.value), flag.value);
                out << "'";
            }
        }
        const TValue argument = ArgumentKind(help);
        if (argument != TValue::None)
            out << " \\\n            '" << (argument == TValue::Directories ? "*" : "1") << ":"
                << Words(help.usage)[1] << ":" << ZshAction(argument, "") << "'";
        out << " ;;\n";
    }
    out << "      esac ;;\n  esac\n}\n\n_quillsweep-cli \"$@\"\n";
}

void Write(const std::string& path, const std::function<void(std::ostream&)>& write)
{
    std::ofstream out(path, std::ios::binary);
    write(out);
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "Usage: quillsweep-cli-docs OUTPUT_FOLDER VERSION\n";
        return 2;
    }
    const std::string folder = argv[1];
    const std::string version = argv[2];
    try {
        Write(folder + "/" + kTool + ".1", [&](std::ostream& out) { WriteManual(out, version); });
        Write(folder + "/" + kTool + ".bash", WriteBash);
        Write(folder + "/_" + kTool, WriteZsh);
    } catch (const std::exception& error) {
        std::cerr << "quillsweep-cli-docs: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
