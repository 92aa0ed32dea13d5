#include "cli/cli_app.h"

#include "cli/check_command.h"
#include "cli/cli_options.h"
#include "cli/dump_command.h"
#include "cli/exit_codes.h"
#include "cli/settings_command.h"

void ReportProblem(const CliStreams& streams, const std::string& message) {
    WriteText(streams.err, "quorvix-cli: " + message + "\n");
    std::fflush(streams.err);
}

bool WriteText(std::FILE* stream, const std::string& text) {
    if (text.empty())
        return true;
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

int RunCli(int argc, const char* const* argv, const CliStreams& streams) {
    try {
        CliOptions options;
        std::string error;
        if (!ParseCliOptions(argc, argv, options, error)) {
            ReportProblem(streams, error + " (see quorvix-cli --help)");
            return kExitBadInput;
        }
        if (options.helpShown) {
            return WriteText(streams.out, options.helpText) ? kExitOk : kExitBadInput;
        }
        switch (options.command) {
            case CliCommand::Check:
                return RunCheck(options, streams);
            case CliCommand::Dump:
                return RunDump(options, streams);
            case CliCommand::Settings:
                return RunSettings(options, streams);
            case CliCommand::None:
                break;
        }
        ReportProblem(streams, "no command given (see quorvix-cli --help)");
        return kExitBadInput;
    } catch (const std::exception& e) {
        ReportProblem(streams, std::string("unexpected failure: ") + e.what());
        return kExitBadInput;
    } catch (...) {
        ReportProblem(streams, "unexpected failure");
        return kExitBadInput;
    }
}
