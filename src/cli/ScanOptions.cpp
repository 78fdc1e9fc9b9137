#include "cli/ScanOptions.h"

#include <charconv>
#include <cstdio>

#include "platform/PathText.h"

namespace tarnwk::cli {

const char* const kUsage =
    "Usage: tarnwk-scan [OPTION...] [--quick] [--full] [PATH...]\n"
    "       tarnwk-scan [--definitions FILE] --list-definitions\n"
    "       tarnwk-scan [--definitions FILE] --update\n"
    "\n"
    "Looks for unwanted programs by file name and prints each finding as\n"
    "\"FOLDER/NAME > LABEL\", one a line. Targets are walked in the order given.\n"
    "\n"
    "  --definitions FILE  the definitions file (default: the program's ref.dat)\n"
    "  --quick             walk the home folder (on Windows, the Windows folder)\n"
    "  --full              walk every local file system (on Windows, every drive)\n"
    "  --threads N         list folders with N threads (default: one per core);\n"
    "                      the findings come in the same order whatever N\n"
    "  -0, --null          end each finding with a NUL byte instead of a line end,\n"
    "                      and print it as it is (control characters included)\n"
    "  --json              one JSON object a finding, then a summary object\n"
    "  -q, --quiet         print the findings only: no progress, no summary\n"
    "  --list-definitions  print the definitions, header first, and stop\n"
    "  --update            fetch newer definitions from the maker's server first\n"
    "                      (server: $TARNWK_SERVER, or the address built in)\n"
    "  --version           print the program's and the definitions' versions\n"
    "  -h, --help          show this text\n"
    "\n"
    "In the findings, a backslash is printed as \\\\, a tab, line feed or carriage\n"
    "return as \\t, \\n, \\r, and any other control character as \\xHH.\n"
    "While a scan runs on a terminal, standard error shows one line of progress.\n"
    "\n"
    "Exit status: 0 nothing found, 1 something found, 2 error (130 or 143: ended\n"
    "by an interrupt or a termination signal).\n";

namespace {

bool fail(const std::string& message) {
    std::fprintf(stderr, "tarnwk-scan: %s\n%s", message.c_str(), kUsage);
    return false;
}

bool parseThreads(const std::string& text, unsigned& threads) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), threads);
    if (error == std::errc() && end == text.data() + text.size() && threads >= 1 && threads <= 64)
        return true;
    return fail("--threads takes a number from 1 to 64");
}

}  // namespace

std::optional<ScanOptions> parseScanOptions(const std::vector<std::string>& arguments) {
    ScanOptions options;
    bool onlyPaths = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (onlyPaths || arg.empty() || arg[0] != '-' || arg == "-") {
            // An empty or blank PATH (an unset variable in a script) names no
            // folder: it is never taken for the root or the current folder.
            if (trimBlanks(arg).empty() && !fail("an empty PATH names no folder")) return {};
            options.targets.push_back({ScanTarget::Kind::Folder, arg});
        } else if (arg == "--") {
            onlyPaths = true;
        } else if ((arg == "--definitions" && hasValue) || arg.starts_with("--definitions=")) {
            const std::string file = arg == "--definitions" ? arguments[++i] : arg.substr(14);
            if (file.empty() && !fail("--definitions needs a file")) return {};
            options.definitionsPath = file;
        } else if (arg == "--threads" && hasValue) {
            if (!parseThreads(arguments[++i], options.threads)) return {};
        } else if (arg == "--quick" || arg == "--full") {
            options.targets.push_back(
                {arg == "--quick" ? ScanTarget::Kind::Quick : ScanTarget::Kind::Full, {}});
        } else if (arg == "-0" || arg == "--null") {
            options.format = OutputFormat::Null;
        } else if (arg == "--json") {
            options.format = OutputFormat::Json;
        } else if (arg == "-q" || arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--list-definitions") {
            options.listDefinitions = true;
        } else if (arg == "--update") {
            options.update = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else {
            fail("unknown or incomplete option " + arg);
            return {};
        }
    }
    const bool somethingToDo = options.help || options.version || options.listDefinitions ||
                               options.update || !options.targets.empty();
    if (!somethingToDo && !fail("nothing to scan")) return {};
    return options;
}

}  // namespace tarnwk::cli
