// The built-in simulated radio: the simulator engine inside this program, on a port
// of its own paced like the cable, so Read and Write work on a machine with no radio
// and no pseudo-terminals. It starts on first use and keeps its memory for the whole
// run, so what is written can be read back.
#pragma once

#include <QString>
#include <memory>

#include "core/document.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"

namespace baldo7 {

class LinkPort;
namespace sim {
class RadioSimulator;
}

class BuiltInRadio {
public:
    // The radio's memory starts as the template with a few channels filled in, the
    // service data and tune tables of a sample radio above it.
    explicit BuiltInRadio(QString programFolder);
    ~BuiltInRadio();

    // A port onto the radio for one exchange.
    std::unique_ptr<LinkPort> makePort();
    sim::RadioSimulator& radio();

private:
    QString folder_;
    std::unique_ptr<sim::RadioSimulator> radio_;
};

// Sample channels for the built-in radio, inside the band of the image's model.
void FillSampleChannels(RadioImage& image, int bandLowMHz, int bandHighMHz);

}  // namespace baldo7
