#include "app/builtin_radio.h"

#include "channels/channel_record.h"
#include "core/model_band.h"
#include "sim/sample_memory.h"
#include "sim/simulated_port.h"
#include "storage/data_store.h"

namespace baldo7 {

BuiltInRadio::BuiltInRadio(QString programFolder) : folder_(std::move(programFolder)) {}

BuiltInRadio::~BuiltInRadio() = default;

void FillSampleChannels(RadioImage& image, int low, int high) {
    // Offsets in kHz from the band's lower edge, and the tones that go with them.
    struct Sample {
        int offsetKHz;
        int ctcssTenths;  // 0: none
        int dcs;          // 0: none
        bool narrow;
    };
    const Sample samples[] = {{9000, 0, 0, false},    {9500, 885, 0, false},
                              {10025, 0, 23, true},   {10520, 1000, 0, false},
                              {14100, 0, 0, true},    {19550, 1318, 0, false},
                              {24000, 0, 754, false}, {26550, 0, 0, true}};
    int channel = 1;
    for (const Sample& s : samples) {
        const std::int64_t units = std::int64_t(low) * kUnitsPerMHz + s.offsetKHz * 100;
        if (units > std::int64_t(high) * kUnitsPerMHz) break;
        ClearChannel(image, channel);
        SetRxFrequency(image, channel, UnitsToBytes(units));
        SetTxFrequency(image, channel, UnitsToBytes(units));
        ApplyNewChannelDefaults(image, channel);
        const ToneCode tone = s.ctcssTenths ? CtcssTone(s.ctcssTenths)
                              : s.dcs       ? DcsTone(s.dcs, false)
                                            : kNoTone;
        SetRxTone(image, channel, tone);
        SetTxTone(image, channel, tone);
        if (s.narrow) SetSpacing(image, channel, 0);
        ++channel;
    }
}

sim::RadioSimulator& BuiltInRadio::radio() {
    if (radio_) return *radio_;
    radio_ = std::make_unique<sim::RadioSimulator>();
    sim::Memory& memory = radio_->memory();
    memory.fill(0xFF);
    Document doc;
    if (LoadTemplate(doc, folder_).ok()) {
        FillSampleChannels(doc.radioImage, doc.BandLowMHz, doc.BandHighMHz);
        std::copy(doc.radioImage.begin(), doc.radioImage.end(), memory.begin());
    }
    sim::fillSampleServiceData(memory);
    sim::fillSampleTuneData(memory);
    return *radio_;
}

std::unique_ptr<LinkPort> BuiltInRadio::makePort() {
    return std::make_unique<sim::SimulatedPort>(radio());
}

}  // namespace baldo7
