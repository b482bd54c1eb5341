#include "cli/CliJson.h"

#include <algorithm>

namespace cli_json {

namespace {

// Every byte kept in a form a URL decoder reads back: printable ASCII but "%" as it is, the rest %XX.
std::string EscapedBytes(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string result;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '%') {
            result += c;
        } else {
            result += '%';
            result += kHex[byte >> 4];
            result += kHex[byte & 0xF];
        }
    }
    return result;
}

} // namespace

Json Document(const std::string& command)
{
    return {{"schemaVersion", kSchemaVersion}, {"command", command}};
}

Json Status(const std::string& code, const std::string& text)
{
    return {{"code", code}, {"text", text}};
}

// Well-formed UTF-8 as the JSON writer reads it: no stray, cut or overlong sequence, no surrogate,
// nothing past U+10FFFF. Anything else it writes as U+FFFD, losing the bytes.
bool IsUtf8(const std::string& text)
{
    static const uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        // 0: no character starts with this byte.
        const size_t length = lead < 0x80 ? 1 : lead < 0xC0 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 0;
        if (length == 0)
            return false;
        uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        if (length > text.size() - i)
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        if (length > 1 && (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
            return false;
        i += length;
    }
    return true;
}

void AddPath(Json& object, const std::string& key, const std::string& path)
{
    object[key] = path;
    if (!IsUtf8(path))
        object[key + "Bytes"] = EscapedBytes(path);
}

void AddPaths(Json& object, const std::string& key, const std::vector<std::string>& paths)
{
    object[key] = paths;
    if (std::all_of(paths.begin(), paths.end(), IsUtf8))
        return;
    auto bytes = Json::array();
    for (const std::string& path : paths)
        bytes.push_back(IsUtf8(path) ? Json() : Json(EscapedBytes(path)));
    object[key + "Bytes"] = bytes;
}

void Print(TCliTerminal& terminal, Json document, int exitStatus)
{
    document["exitStatus"] = exitStatus;
    terminal.Out(document.dump(2, ' ', false, Json::error_handler_t::replace));
}

} // namespace cli_json
