#include "sim/sample_memory.h"

#include <algorithm>
#include <cstring>

namespace baldo7::sim {

namespace {
void put(Memory& memory, AddressRange field, const char* text) {
    std::memcpy(memory.data() + field.first, text, std::min(std::strlen(text), field.size()));
}
void zero(Memory& memory, std::size_t from, std::size_t to) {
    std::memset(memory.data() + from, 0, to - from);
}
}  // namespace

void fillSampleServiceData(Memory& memory) {
    // Dealer record: text fields end with 0x00 where they are shorter than the field.
    zero(memory, addr::kLocalMessage.first, addr::kLocalMaintainedDescription.end);
    put(memory, addr::kLocalRadioType, "DEK");
    memory[addr::kLocalFrequencyArea] = 0;  // 136-174MHz
    put(memory, addr::kLocalAreaCode, "0571");
    put(memory, addr::kLocalSerialNumber, "B7V2608150042");
    put(memory, addr::kLocalProductedDate, "2026-03-14");
    put(memory, addr::kLocalManufactureCode, "M2603A");
    put(memory, addr::kLocalUserCode, "C018");
    std::memset(memory.data() + addr::kLocalPassword.first, 0xFF,
                addr::kLocalPassword.size());  // no record password
    put(memory, addr::kLocalMaintainedDate, "2026-09-02");
    put(memory, addr::kLocalDealerCode, "D-HZ-0193");
    put(memory, addr::kLocalStockDate, "2026-04-01");
    put(memory, addr::kLocalSellDate, "2026-05-20");
    put(memory, addr::kLocalSeller, "L. Wen");
    put(memory, addr::kLocalMaintainedDescription,
        "Replaced the volume knob; retuned the squelch.");

    // Stun/die: stun code 123456, die code 98765432, normal, chord, enabled.
    const std::uint8_t stun[8] = {1, 2, 3, 4, 5, 6, 0, 0};
    const std::uint8_t die[8] = {9, 8, 7, 6, 5, 4, 3, 2};
    std::memcpy(memory.data() + addr::kStunCode.first, stun, sizeof stun);
    std::memcpy(memory.data() + addr::kDieCode.first, die, sizeof die);
    memory[addr::kDtmfCodeLengths] = 0x86;
    memory[addr::kStunStatus] = 0xFF;
    memory[addr::kStunAckType] = 0xFF;
    memory[addr::kStunEnable] = 0x55;

    // Special option: receive voice level 12 (index 11).
    memory[addr::kRxVoiceLevel] = 11;
}

void fillSampleTuneData(Memory& memory) {
    for (const int band : {136, 400, 200}) {
        const auto base = static_cast<std::size_t>(TuneTableBase(band));
        for (std::size_t k = 0; k < 16; ++k) {
            const std::size_t squelch = base + k;
            memory[squelch] = static_cast<std::uint8_t>(36 + 2 * k);
            memory[squelch + addr::kTuneRowStride] = static_cast<std::uint8_t>(210 - 3 * k);
            memory[squelch + 2 * addr::kTuneRowStride] = static_cast<std::uint8_t>(96 - k);
        }
        // Threshold pairs (H, L): high 2H + top bit of L, low the rest of L.
        const std::uint8_t thresholds[16] = {0x2D, 0x9C, 0x30, 0x21, 0x33, 0xA4, 0x36, 0x27,
                                             0x28, 0x96, 0x2A, 0x1A, 0x2D, 0x9E, 0x30, 0x22};
        std::memcpy(memory.data() + base + addr::kTuneThresholds, thresholds, sizeof thresholds);
    }
    memory[addr::kMaxDeviation] = 50;  // 5.0 kHz
}

}  // namespace baldo7::sim
