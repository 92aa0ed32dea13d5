#include "cli/cli_options.h"

#include <CLI/CLI.hpp>

#include <map>
#include <sstream>

namespace {

const std::map<std::string, OutputFormat> kFormats = {{"tsv", OutputFormat::Tsv},
                                                      {"json", OutputFormat::Json}};

void AddFormatOption(CLI::App& command, CliOptions& options) {
    command.add_option("--format", options.format, "Output format: tsv (default) or json")
        ->transform(CLI::CheckedTransformer(kFormats, CLI::ignore_case))
        ->option_text("tsv|json");
}

void AddSettingsOption(CLI::App& command, CliOptions& options) {
    if (!CliUsesIniSettings())
        return;
    command.add_option("--settings", options.settingsFile,
                       "Settings file (default ~/.config/quorvix/settings.ini)");
}

// CLI11 words some messages over several lines; the caller wants one.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

bool ParseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& error) {
    options = CliOptions();
    error.clear();
    try {
        CLI::App app("Checks domain names by WHOIS and reads Quorvix data files.", "quorvix-cli");
        app.require_subcommand(1, 1);

        CLI::App* check = app.add_subcommand(
            "check", "Look up names (from the arguments, or standard input when none are given)");
        CLI::Option* data = check->add_option("--data", options.dataFile,
                                              "Data file to read first and write back at the end");
        AddFormatOption(*check, options);
        AddSettingsOption(*check, options);
        check
            ->add_option("--attempts", options.maxAttempts,
                         "Failed exchanges of one name before it is given up as an error")
            ->check(CLI::Range(1, 1000))
            ->default_val(5);
        check->add_option("NAME", options.names, "Domain names");

        CLI::App* dump = app.add_subcommand("dump", "Print the records of a data file");
        dump->add_option("FILE", options.dataFile, "Data file")->required();
        AddFormatOption(*dump, options);
        dump->add_flag("--whois", options.withWhois, "Print the stored WHOIS texts too");

        CLI::App* settings = app.add_subcommand(
            "settings", "Print the effective settings of every configured or built-in extension");
        AddFormatOption(*settings, options);
        AddSettingsOption(*settings, options);

        // CLI11 would only say that a command is missing; name the word it did not know.
        const std::string first = argc > 1 && argv[1] ? argv[1] : "";
        if (!first.empty() && first[0] != '-' && first != "check" && first != "dump" &&
            first != "settings") {
            error = "unknown command: " + first;
            return false;
        }
        try {
            app.parse(argc, argv);
        } catch (const CLI::CallForHelp& e) {
            std::ostringstream out, err;
            app.exit(e, out, err);
            options.helpShown = true;
            options.helpText = out.str();
            return true;
        } catch (const CLI::ParseError& e) {
            error = OneLine(e.what());
            if (error.empty())
                error = "bad command line";
            return false;
        }
        if (check->parsed())
            options.command = CliCommand::Check;
        else if (dump->parsed())
            options.command = CliCommand::Dump;
        else if (settings->parsed())
            options.command = CliCommand::Settings;
        if (options.command == CliCommand::Dump && options.dataFile.empty()) {
            error = "dump: the data file name is empty";
            return false;
        }
        if (options.command == CliCommand::Check && data->count() > 0 &&
            options.dataFile.find_first_not_of(" \t") == std::string::npos) {
            error = "check: the --data file name is empty";
            return false;
        }
        return options.command != CliCommand::None;
    } catch (const std::exception& e) {
        error = OneLine(e.what());
        return false;
    }
}
