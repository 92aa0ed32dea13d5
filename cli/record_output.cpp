#include "cli/record_output.h"

#include <nlohmann/json.hpp>

#include <iterator>

#include "cli/output_text.h"
#include "domains/domain_data.h"
#include "ui/cell_text.h"

namespace {

// Drops the colour tags ("<#FF0000>" and the like) that the list draws but a file should not hold.
std::string WithoutTags(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '<') {
            const size_t close = text.find('>', i);
            if (close == std::string_view::npos)
                break;
            i = close + 1;
            continue;
        }
        out.push_back(text[i++]);
    }
    return out;
}

nlohmann::ordered_json DateValue(const CDateTime& dt) {
    const std::string text = FormatIsoDateTime(dt);
    if (text.empty())
        return nullptr;
    return text;
}

}  // namespace

std::string PlainStatusCell(const CDomainData& record) {
    // A status text comes from a WHOIS server and is shown as it is; only the program's own
    // state texts carry tags.
    if (!record.m_strStatus.empty())
        return StatusCellText(record);
    return WithoutTags(StateCellText(record.m_nState));
}

const char* StateName(int state) {
    switch (state) {
        case STATE_FREE:
            return "free";
        case STATE_TAKEN:
            return "taken";
        case STATE_RESERVED:
            return "reserved";
        case STATE_RESOLVES:
            return "resolves";
        case STATE_QUEUED:
            return "queued";
        case STATE_UNCHECKED:
            return "unchecked";
        case STATE_ERROR:
            return "error";
        default:
            return "unknown";
    }
}

std::string FormatRecordTsv(const CDomainData& record, bool withWhois) {
    const std::string cells[] = {record.m_strName,
                                 PlainStatusCell(record),
                                 FormatIsoDate(record.m_dtCreated),
                                 FormatIsoDate(record.m_dtExpires),
                                 FormatIsoDate(record.m_dtUpdated),
                                 FormatIsoDate(record.m_dtChecked),
                                 record.m_strWhoisServer,
                                 record.m_strRegistrar};
    std::string line;
    for (size_t i = 0; i < std::size(cells); ++i) {
        if (i > 0)
            line.push_back('\t');
        line += EscapeTsvCell(cells[i]);
    }
    if (withWhois) {
        line.push_back('\t');
        line += EscapeTsvCell(record.m_strWhoisText);
    }
    line.push_back('\n');
    return line;
}

std::string FormatRecordJson(const CDomainData& record, bool withWhois) {
    nlohmann::ordered_json o;
    o["domain"] = AnsiToUtf8(record.m_strName);
    o["state"] = record.m_nState;
    o["state_name"] = StateName(record.m_nState);
    o["status"] = AnsiToUtf8(PlainStatusCell(record));
    o["status_text"] = AnsiToUtf8(record.m_strStatus);
    o["created"] = DateValue(record.m_dtCreated);
    o["expires"] = DateValue(record.m_dtExpires);
    o["updated"] = DateValue(record.m_dtUpdated);
    o["checked"] = DateValue(record.m_dtChecked);
    o["whois_server"] = AnsiToUtf8(record.m_strWhoisServer);
    o["registrar"] = AnsiToUtf8(record.m_strRegistrar);
    if (withWhois)
        o["whois_text"] = AnsiToUtf8(record.m_strWhoisText);
    // Every text is UTF-8 by now; "replace" only guards against a fault in that conversion.
    std::string line = o.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    line.push_back('\n');
    return line;
}

std::string FormatRecord(const CDomainData& record, OutputFormat format, bool withWhois) {
    return format == OutputFormat::Json ? FormatRecordJson(record, withWhois)
                                        : FormatRecordTsv(record, withWhois);
}
