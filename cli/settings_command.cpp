#include "cli/settings_command.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>

#include "cli/exit_codes.h"
#include "cli/output_text.h"
#include "cli/settings_source.h"
#include "framework/settings_store.h"
#include "framework/text.h"
#include "whois/extension_table.h"

namespace {

// The "Domains" list is read like the Configure dialog reads it; a damaged store must not make it
// endless, so it stops after this many values.
constexpr int kMaxListedExtensions = 10000;

bool Listed(const std::vector<EffectiveExtension>& rows, std::string_view ext) {
    for (const EffectiveExtension& r : rows) {
        if (EqualsNoCase(r.extension, ext))
            return true;
    }
    return false;
}

EffectiveExtension Effective(const ISettingsStore& store, const std::string& ext) {
    EffectiveExtension row;
    row.extension = ext;
    const std::string name = "example." + ext;
    row.server = GetWhoisServer(store, name, row.queryPrefix);
    row.availableToken = GetAvailableToken(store, name);
    GetConnectionLimits(store, name, row.maxConnections, row.connectionInterval);
    return row;
}

}  // namespace

std::vector<EffectiveExtension> CollectEffectiveSettings(const ISettingsStore& store) {
    std::vector<EffectiveExtension> rows;
    for (int i = 1; i <= kMaxListedExtensions; ++i) {
        const std::string ext = store.GetString(kSectionDomains, std::to_string(i));
        if (ext.empty())
            break;
        // An extension is the text after the last dot of a name, so a listed value with a dot
        // in it is looked up by its last part, exactly as a name would be.
        if (!Listed(rows, ext))
            rows.push_back(Effective(store, ext));
    }
    const ExtensionRow* builtin = BuiltinExtensions();
    for (int i = 0; i < kBuiltinExtensionCount; ++i) {
        if (!Listed(rows, builtin[i].extension))
            rows.push_back(Effective(store, builtin[i].extension));
    }
    return rows;
}

std::string FormatEffectiveSettings(const std::vector<EffectiveExtension>& rows,
                                    OutputFormat format) {
    std::string out;
    for (const EffectiveExtension& r : rows) {
        if (format == OutputFormat::Json) {
            nlohmann::ordered_json o;
            o["extension"] = AnsiToUtf8(r.extension);
            o["server"] = AnsiToUtf8(r.server);
            o["query_prefix"] = AnsiToUtf8(r.queryPrefix);
            o["available_token"] = AnsiToUtf8(r.availableToken);
            o["max_connections"] = r.maxConnections;
            o["connection_interval"] = r.connectionInterval;
            out += o.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        } else {
            out += EscapeTsvCell(r.extension) + '\t' + EscapeTsvCell(r.server) + '\t' +
                   EscapeTsvCell(r.queryPrefix) + '\t' + EscapeTsvCell(r.availableToken) + '\t' +
                   std::to_string(r.maxConnections) + '\t' + std::to_string(r.connectionInterval);
        }
        out.push_back('\n');
    }
    return out;
}

int RunSettings(const CliOptions& options, const CliStreams& streams) {
    std::string error, warning;
    std::shared_ptr<ISettingsStore> store = OpenCliSettings(options.settingsFile, error, warning);
    if (!store) {
        ReportProblem(streams, error);
        return kExitBadInput;
    }
    if (!warning.empty())
        ReportProblem(streams, warning);
    const std::string out =
        FormatEffectiveSettings(CollectEffectiveSettings(*store), options.format);
    if (!WriteText(streams.out, out) || std::fflush(streams.out) != 0) {
        ReportProblem(streams,
                      std::string("cannot write standard output: ") + std::strerror(errno));
        return kExitBadInput;
    }
    return kExitOk;
}
