// The built-in simulated radio: the simulator engine answering on a pseudo-terminal
// inside this program, so Read and Write work on a machine with no radio. It starts
// on first use and keeps its memory for the whole run, so what is written can be
// read back.
#pragma once

#include <QString>
#include <memory>

#include "core/document.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"

namespace baldo7 {

namespace sim {
class PtySimulator;
}

class BuiltInRadio {
public:
    // The radio's memory starts as the template with a few channels filled in, the
    // service data and tune tables of a sample radio above it.
    explicit BuiltInRadio(QString programFolder);
    ~BuiltInRadio();

    // The device to open; "" with `error` set when the pseudo-terminal cannot be made.
    QString devicePath(QString* error = nullptr);
    sim::PtySimulator* simulator() { return sim_.get(); }

private:
    QString folder_;
    std::unique_ptr<sim::PtySimulator> sim_;
};

// Sample channels for the built-in radio, inside the band of the image's model.
void FillSampleChannels(RadioImage& image, int bandLowMHz, int bandHighMHz);

}  // namespace baldo7
