#include "sim/sample_memory.h"

#include <cstring>

namespace baldo7::sim {

namespace {
void put(Memory& memory, std::size_t address, const char* text) {
    std::memcpy(memory.data() + address, text, std::strlen(text));
}
void zero(Memory& memory, std::size_t from, std::size_t to) {
    std::memset(memory.data() + from, 0, to - from);
}
}  // namespace

void fillSampleServiceData(Memory& memory) {
    // Dealer record: text fields end with 0x00 where they are shorter than the field.
    zero(memory, 0x0A80, 0x0B70);
    put(memory, 0x0A80, "DEK");
    memory[0x0A86] = 0;  // 136-174MHz
    put(memory, 0x0A88, "0571");
    put(memory, 0x0A90, "B7V2608150042");
    put(memory, 0x0AA0, "2026-03-14");
    put(memory, 0x0AB0, "M2603A");
    put(memory, 0x0AB8, "C018");
    std::memset(memory.data() + 0x0ABC, 0xFF, 4);  // no record password
    put(memory, 0x0AC0, "2026-09-02");
    put(memory, 0x0AD0, "D-HZ-0193");
    put(memory, 0x0AE0, "2026-04-01");
    put(memory, 0x0AF0, "2026-05-20");
    put(memory, 0x0B00, "L. Wen");
    put(memory, 0x0B10, "Replaced the volume knob; retuned the squelch.");

    // Stun/die: stun code 123456, die code 98765432, normal, chord, enabled.
    const std::uint8_t stunDie[16] = {1, 2, 3, 4, 5, 6, 0, 0, 9, 8, 7, 6, 5, 4, 3, 2};
    std::memcpy(memory.data() + 0x0B80, stunDie, sizeof stunDie);
    memory[0x0B90] = 0x86;
    memory[0x0B91] = 0xFF;
    memory[0x0B92] = 0xFF;
    memory[0x0B93] = 0x55;

    // Special option: receive voice level 12 (index 11).
    memory[0x0E11] = 11;
}

void fillSampleTuneData(Memory& memory) {
    for (std::size_t base = 0x0300; base <= 0x0320; base += 0x10) {
        for (std::size_t k = 0; k < 16; ++k) {
            memory[base + k] = static_cast<std::uint8_t>(36 + 2 * k);          // squelch
            memory[base + 0x30 + k] = static_cast<std::uint8_t>(210 - 3 * k);  // high power
            memory[base + 0x60 + k] = static_cast<std::uint8_t>(96 - k);       // low power
        }
        // Threshold pairs (H, L): high 2H + top bit of L, low the rest of L.
        const std::uint8_t thresholds[16] = {0x2D, 0x9C, 0x30, 0x21, 0x33, 0xA4, 0x36, 0x27,
                                             0x28, 0x96, 0x2A, 0x1A, 0x2D, 0x9E, 0x30, 0x22};
        std::memcpy(memory.data() + base + 0x90, thresholds, sizeof thresholds);
    }
    memory[0x03C0] = 50;  // 5.0 kHz
}

}  // namespace baldo7::sim
