#include "JsonSchemaCheck.h"

#include "CleanRecordSchema.h"
#include "CliJsonSchema.h"

#include <regex>
#include <set>

namespace cli_testing {

namespace {

using nlohmann::json;

const std::set<std::string> kKeywords = {"$schema", "$id", "title", "description", "$defs", "$ref", "type",
                                         "const", "enum", "minimum", "maximum", "pattern", "required",
                                         "properties", "additionalProperties", "items", "oneOf"};

class TChecker {
public:
    TChecker(const json& root, std::vector<std::string>& errors) : root_(root), errors_(errors) {}

    void Check(const json& schema, const json& value, const std::string& at)
    {
        if (schema.is_boolean()) {
            if (!schema.get<bool>())
                Fail(at, "is not allowed");
            return;
        }
        for (const auto& keyword : schema.items())
            if (!kKeywords.count(keyword.key()))
                Fail(at, "schema keyword " + keyword.key() + " is not checked");
        if (schema.contains("$ref")) {
            const std::string ref = schema["$ref"];
            const std::string prefix = "#/$defs/";
            if (ref.rfind(prefix, 0) != 0 || !root_["$defs"].contains(ref.substr(prefix.size())))
                return Fail(at, "unknown reference " + ref);
            Check(root_["$defs"][ref.substr(prefix.size())], value, at);
        }
        if (schema.contains("type")) {
            const json types = schema["type"].is_array() ? schema["type"] : json::array({schema["type"]});
            bool any = false;
            for (const auto& type : types)
                any = any || Is(value, type.get<std::string>());
            if (!any)
                Fail(at, "is not of type " + schema["type"].dump());
        }
        if (schema.contains("const") && value != schema["const"])
            Fail(at, "is not " + schema["const"].dump());
        if (schema.contains("enum") &&
            std::find(schema["enum"].begin(), schema["enum"].end(), value) == schema["enum"].end())
            Fail(at, value.dump() + " is not one of " + schema["enum"].dump());
        if (value.is_number()) {
            if (schema.contains("minimum") && value.get<double>() < schema["minimum"].get<double>())
                Fail(at, "is below " + schema["minimum"].dump());
            if (schema.contains("maximum") && value.get<double>() > schema["maximum"].get<double>())
                Fail(at, "is above " + schema["maximum"].dump());
        }
        if (value.is_string() && schema.contains("pattern") &&
            !std::regex_search(value.get<std::string>(), std::regex(schema["pattern"].get<std::string>())))
            Fail(at, value.dump() + " does not match " + schema["pattern"].get<std::string>());
        if (value.is_object())
            CheckObject(schema, value, at);
        if (value.is_array() && schema.contains("items"))
            for (size_t i = 0; i < value.size(); ++i)
                Check(schema["items"], value[i], at + "/" + std::to_string(i));
        if (schema.contains("oneOf")) {
            size_t matches = 0;
            for (const auto& branch : schema["oneOf"]) {
                std::vector<std::string> branchErrors;
                TChecker(root_, branchErrors).Check(branch, value, at);
                matches += branchErrors.empty();
            }
            if (matches != 1)
                Fail(at, "matches " + std::to_string(matches) + " of oneOf, not exactly one");
        }
    }

private:
    static bool Is(const json& value, const std::string& type)
    {
        if (type == "object") return value.is_object();
        if (type == "array") return value.is_array();
        if (type == "string") return value.is_string();
        if (type == "integer") return value.is_number_integer();
        if (type == "number") return value.is_number();
        if (type == "boolean") return value.is_boolean();
        return type == "null" && value.is_null();
    }

    void CheckObject(const json& schema, const json& value, const std::string& at)
    {
        if (schema.contains("required"))
            for (const auto& name : schema["required"])
                if (!value.contains(name.get<std::string>()))
                    Fail(at, "lacks " + name.get<std::string>());
        const json properties = schema.value("properties", json::object());
        for (const auto& field : value.items()) {
            if (properties.contains(field.key()))
                Check(properties[field.key()], field.value(), at + "/" + field.key());
            else if (schema.contains("additionalProperties"))
                Check(schema["additionalProperties"], field.value(), at + "/" + field.key());
        }
    }

    void Fail(const std::string& at, const std::string& why) { errors_.push_back((at.empty() ? "/" : at) + " " + why); }

    const json& root_;
    std::vector<std::string>& errors_;
};

} // namespace

std::vector<std::string> SchemaErrors(const nlohmann::json& schema, const nlohmann::json& document)
{
    std::vector<std::string> errors;
    TChecker(schema, errors).Check(schema, document, "");
    return errors;
}

const nlohmann::json& ToolSchema()
{
    static const nlohmann::json schema = nlohmann::json::parse(kCliJsonSchema);
    return schema;
}

const nlohmann::json& RecordSchema()
{
    static const nlohmann::json schema = nlohmann::json::parse(kCleanRecordSchema);
    return schema;
}

} // namespace cli_testing
