#include "link/transfer_request.h"

namespace baldo7 {

const char* TransferAreaName(TransferArea area) {
    switch (area) {
        case TransferArea::Tune:
            return "tune";
        case TransferArea::StunDie:
            return "stundie";
        case TransferArea::Special:
            return "special";
        case TransferArea::Local:
            return "local";
        case TransferArea::Data:
            break;
    }
    return "";
}

std::optional<TransferArea> TransferAreaNamed(const std::string& name) {
    for (TransferArea a :
         {TransferArea::Tune, TransferArea::StunDie, TransferArea::Special, TransferArea::Local})
        if (name == TransferAreaName(a)) return a;
    return std::nullopt;
}

}  // namespace baldo7
