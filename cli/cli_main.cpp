// quorvix-cli: checks domain names by WHOIS from the command line and reads Quorvix data files.
#include "cli/cli_app.h"
#include "cli/console.h"

int main(int argc, char** argv) {
    InstallInterruptHandler();
    return RunCli(argc, argv, CliStreams());
}
