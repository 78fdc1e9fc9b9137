#include "scan/ScanView.h"

namespace tarnwk {

std::string objectsScannedText(std::int32_t count) {
    return std::to_string(count) + " Objects scanned";
}

std::string adwareFoundText(std::size_t count) {
    return std::to_string(count) + " Spyware / Adware found";
}

}  // namespace tarnwk
