#include "compare/document_description.h"

#include <QJsonArray>

#include "channels/channel_record.h"
#include "channels/channel_texts.h"
#include "core/model_band.h"
#include "core/pick_lists.h"
#include "functions/embedded_message.h"
#include "functions/function_setup.h"
#include "functions/key_setting.h"
#include "functions/scan_information.h"
#include "service/tune_data.h"

namespace baldo7 {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString pick(const PickList& list, int index) {
    return index >= 0 && index < static_cast<int>(list.size())
               ? text(list[static_cast<std::size_t>(index)])
               : QString();
}

// The rows of the tune window.
QJsonObject describeTune(const Document& doc) {
    const TuneView v =
        DecodeTune(doc.radioImage, doc.BandLowMHz, doc.BandHighMHz, doc.BandTxHighMHz);
    QJsonArray points;
    for (int c = 1; c <= kTunePoints; ++c)
        points.append(QString::fromStdString(TunePointText(v.points, c)));
    QJsonArray rows[kTuneRows];
    for (int r = 0; r < kTuneRows; ++r)
        for (int value : v.rows[static_cast<std::size_t>(r)]) rows[r].append(value);
    QJsonArray thresholds;
    for (const Threshold& t : v.thresholds)
        thresholds.append(QJsonObject{{"high", t.high}, {"low", t.low}});
    return QJsonObject{{"points", points},         {"sq", rows[0]},
                       {"txHigh", rows[1]},        {"txLow", rows[2]},
                       {"thresholds", thresholds}, {"maxDeviation", v.maxDeviation}};
}

QJsonObject describeChannel(const Document& doc, int channel, bool en) {
    const char sep = doc.DecimalSeparator;
    const ChannelView v = DecodeChannel(doc.radioImage, channel, en, sep);
    QJsonObject o{{"channel", channel}, {"inUse", v.inUse}};
    if (!v.inUse) return o;
    const PickList cdcssModes = {channel_texts::edit::kNormalCode.pick(en),
                                 channel_texts::edit::kSpecialCode.pick(en)};
    o["rx"] = text(v.rxText);
    o["tx"] = v.txInUse ? QJsonValue(text(v.txText)) : QJsonValue(QJsonValue::Null);
    o["decode"] = text(v.rxToneText);
    o["encode"] = text(v.txToneText);
    o["power"] = pick(PowerList(en), v.powerIndex);
    o["scanAdd"] = v.scanAdd;
    o["spacing"] = pick(SpacingList(en, sep), v.spacingIndex);
    o["busyLock"] = pick(BusyLockList(en), v.busyLockIndex);
    o["scrambleType"] = pick(ScrambleTypeList(), v.scrambleTypeIndex);
    o["scramble"] = v.scrambleOn;
    o["compand"] = v.compand;
    o["cdcssMode"] = pick(cdcssModes, v.cdcssModeIndex);
    return o;
}

}  // namespace

QJsonObject DescribeDocument(const Document& doc, bool en) {
    QJsonObject o;
    o["model"] = text(doc.ModelType);
    o["band"] = QJsonObject{{"low", doc.BandLowMHz},
                            {"high", doc.BandHighMHz},
                            {"txHigh", doc.BandTxHighMHz},
                            {"known", BandOfImage(doc.radioImage).has_value()}};
    QJsonArray channels;
    for (int ch = 1; ch <= kChannelCount; ++ch) channels.append(describeChannel(doc, ch, en));
    o["channels"] = channels;

    // What the function setup shows when it opens, repairs included.
    const OptionView f = DecodeOption(doc.radioImage);
    o["functions"] = QJsonObject{
        {"tot", pick(TotList(en), f.tot)},
        {"totWarning", pick(TotWarningList(en), f.totWarning)},
        {"squelch", pick(SquelchList(), f.squelch)},
        {"voicePrompt", pick(VoiceList(en), f.voice)},
        {"batterySave", f.save},
        {"beep", f.beep},
        {"scramble", f.scramble},
        {"roger", f.roger},
        {"freqHopping", f.freqHopping},
    };
    const std::uint8_t keys = doc.radioImage[addr::kKeySet];
    const PickList keyList = KeyFunctionList(en);
    o["keys"] = QJsonObject{{"pf1", pick(keyList, KeyFunctionIndex(keys, kKeyPf1))},
                            {"pf2", pick(keyList, KeyFunctionIndex(keys, kKeyPf2))}};
    // The scan window opens after the grid, which has cleared the scan bits of the
    // channels not in use: the priority lists offer what is left.
    Document shown = doc;
    for (int ch = 1; ch <= kChannelCount; ++ch) DisplayChannel(shown, ch);
    const ScanView scan = DecodeScan(shown.radioImage);
    const PickList times = ScanTimeList('.');
    QJsonArray priorityChannels;
    for (int k = 0; k < kPrioritySlots; ++k) {
        const int channel = scan.priorityChannel(k);
        priorityChannels.append(channel ? QJsonValue(channel) : QJsonValue(QJsonValue::Null));
    }
    o["scan"] = QJsonObject{
        {"priority", pick(PriorityList(en), scan.priority)},
        {"revertChannel",
         scan.revert < 0 ? QJsonValue(QJsonValue::Null)
                         : QJsonValue(pick(RevertChannelList(en, scan.priority), scan.revert))},
        {"lookBackA", pick(times, scan.lookBack[0])},
        {"lookBackB", pick(times, scan.lookBack[1])},
        {"dropoutDelay", pick(times, scan.delay[0])},
        {"txDwell", pick(times, scan.delay[1])},
        {"priorityChannels", priorityChannels},
    };
    const MessageLines message = EmbeddedMessageLines(doc.radioImage);
    o["message"] = QJsonArray{QString::fromLatin1(message[0]), QString::fromLatin1(message[1])};
    o["software"] = QJsonObject{{"programPassword", QString::fromLatin1(doc.ProgramPassword)},
                                {"newPassword", QString::fromLatin1(doc.NewPassword)},
                                {"changePassword", doc.ChangePasswordFlag}};
    o["tune"] = describeTune(doc);
    return o;
}

}  // namespace baldo7
