#include "cli/ConsoleScanView.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace tarnwk::cli {
namespace {

using Json = nlohmann::json;

// UTF-8 as JSON wants it; other bytes become U+FFFD in the text, so a path
// that is no valid UTF-8 also goes out byte for byte in "path_bytes".
bool isUtf8(const std::string& text) {
    try {
        (void)Json(text).dump();
        return true;
    } catch (const Json::type_error&) {
        return false;
    }
}

std::string jsonLine(const Json& object) {
    return object.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

ConsoleScanView::ConsoleScanView(ConsoleOutput& out, OutputFormat format,
                                 const DefinitionsList& definitions, ScanState& state,
                                 const std::atomic<int>& stopSignal)
    : out_(out),
      format_(format),
      definitions_(definitions),
      state_(state),
      stopSignal_(stopSignal) {}

void ConsoleScanView::showProgressOn(platform::Terminal& terminal) {
    if (terminal.errorIsTerminal()) terminal_ = &terminal;
}

void ConsoleScanView::doEvents() {
    if (stopSignal_ != 0 || out_.failed()) state_.abortScan = true;
    // At most ten times a second; the clock is read every 256th time only.
    if (!terminal_ || ++calls_ % 256 != 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - drawn_ < std::chrono::milliseconds(100)) return;
    drawn_ = now;
    drawProgress();
}

void ConsoleScanView::showFolder(std::string_view text) {
    ++folders_;
    folder_ = text;
}

void ConsoleScanView::drawProgress() {
    std::string line = std::to_string(folders_) + " folders, " +
                       std::to_string(state_.objectsScanned) + " files, " +
                       std::to_string(found_) + " found: ";
    // The folder's end tells most: its start goes when the line is too long.
    const std::string folder = escapeLine(folder_);
    const std::size_t room = static_cast<std::size_t>(std::max(terminal_->width() - 1, 20));
    std::size_t characters = line.size(), from = folder.size();
    while (from > 0 && characters < room) {
        --from;
        if ((static_cast<unsigned char>(folder[from]) & 0xC0) != 0x80) ++characters;
    }
    line += folder.substr(from);
    std::fprintf(stderr, "\r\x1b[K%s", line.c_str());
    std::fflush(stderr);
}

void ConsoleScanView::addFoundItem(FoundItem item) {
    ++found_;
    switch (format_) {
        case OutputFormat::Lines:
            out_.write(escapeLine(item.text) + "\n");
            break;
        case OutputFormat::Null:
            out_.write(item.text);
            out_.write(std::string_view("\0", 1));
            break;
        case OutputFormat::Json: {
            const auto parts = splitDefinition(definitions_.entry(item.definition));
            Json finding = {{"path", item.path},
                            {"name", item.name},
                            {"label", parts ? std::string(parts->labelPart) : std::string()},
                            {"definition", item.definition}};
            if (!isUtf8(item.path))
                finding["path_bytes"] = std::vector<unsigned char>(item.path.begin(), item.path.end());
            out_.write(jsonLine(finding));
            break;
        }
    }
}

void ConsoleScanView::finish(double seconds) {
    if (terminal_) std::fputs("\r\x1b[K", stderr);
    if (format_ == OutputFormat::Json)
        out_.write(jsonLine({{"summary",
                              {{"examined", state_.objectsScanned},
                               {"found", found_},
                               {"seconds", seconds},
                               {"complete", !state_.abortScan}}}}));
}

}  // namespace tarnwk::cli
