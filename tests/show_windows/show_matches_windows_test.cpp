// baldo7ctl show --json against the real windows: for hand-made files, the scan and
// message sections say exactly what the scan information and embedded message
// windows show once the channel grid has opened (as it always has first).
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "channels/form_channel_information.h"
#include "core/data_file.h"
#include "functions/form_embed_message.h"
#include "functions/form_scan_information.h"
#include "tests/support/ctl_run.h"
#include "tests/support/fake_editor_host.h"

using namespace baldo7;

namespace {

QJsonValue selection(const QComboBox* combo) {
    return combo->currentIndex() < 0 ? QJsonValue(QJsonValue::Null)
                                     : QJsonValue(combo->currentText());
}

RadioImage baseImage() {
    RadioImage image;
    image.fill(0xFF);
    const std::uint8_t model[8] = {0x50, 0x32, 0x32, 0x30, 0x37, 0x32, 0x00, 0xFF};
    std::copy(model, model + 8, image.begin() + 440);
    return image;
}

// A channel in use at 150 MHz.
void useChannel(RadioImage& image, int channel) {
    const std::uint8_t rx[4] = {0x00, 0x00, 0x00, 0x50};
    std::copy(rx, rx + 4, image.begin() + 16 * channel);
}

}  // namespace

class ShowMatchesWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void scanAndMessage_data() {
        QTest::addColumn<QByteArray>("patch");  // address, value pairs over the base image
        QTest::addColumn<QList<int>>("channelsInUse");
        auto bytes = [](std::initializer_list<int> pairs) {
            QByteArray b;
            for (int v : pairs) b.append(static_cast<char>(v & 0xFF)), b.append(char(v >> 8));
            return b;
        };
        QTest::newRow("blank") << bytes({382, 0, 383, 0}) << QList<int>{};
        QTest::newRow("fixd, odd times, slot names an empty channel")
            << bytes({288, 1,   290, 25,   291, 27,   292, 3,    293, 50,
                      294, 9,   312, 4,    382, 0x0D, 383, 0x80, 768, 'H',
                      769, 'I', 770, 0xFF, 771, 'A',  800, 0x7F, 801, '~'})
            << QList<int>{1, 3, 16};
        QTest::newRow("none with a priority revert, every byte odd")
            << bytes({288, 0xFF, 290, 0, 291, 0xFF, 292, 2,    293, 49,  294, 10,
                      312, 16,   313, 2, 382, 0x01, 383, 0x80, 799, 'Z', 831, ' '})
            << QList<int>{1, 16};
    }
    void scanAndMessage() {
        QFETCH(QByteArray, patch);
        QFETCH(QList<int>, channelsInUse);
        RadioImage image = baseImage();
        for (int i = 0; i + 3 < patch.size(); i += 4) {
            const int address = (static_cast<unsigned char>(patch[i]) |
                                 static_cast<unsigned char>(patch[i + 1]) << 8);
            image[static_cast<std::size_t>(address)] = static_cast<std::uint8_t>(patch[i + 2]);
        }
        for (int ch : channelsInUse) useChannel(image, ch);
        SoftwareData software;
        software.fill(0xFF);
        QTemporaryDir dir;
        const QString path = dir.filePath("hand.rdat");
        writeBytes(path, EncodeDataFile(image, software));

        const CtlRun r = ctl({"show", path, "--json"});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject shown = QJsonDocument::fromJson(r.out).object();

        Document doc;
        doc.IsEnglish = true;
        QVERIFY(LoadDataFile(doc, path).ok());
        FakeEditorHost host;
        FormChannelInformation grid(doc, host);
        FormScanInformation scan(doc, host);
        FormEmbedMessage message(doc, host);
        QJsonArray channels;
        for (QComboBox* combo : scan.ComboPriorityChannel)
            channels.append(combo->currentIndex() < 0 ? QJsonValue(QJsonValue::Null)
                                                      : QJsonValue(combo->currentText().toInt()));
        const QJsonObject windows{{"priority", selection(scan.ComboPriority)},
                                  {"revertChannel", selection(scan.ComboRevertChannel)},
                                  {"lookBackA", selection(scan.ComboScanBackTime[0])},
                                  {"lookBackB", selection(scan.ComboScanBackTime[1])},
                                  {"dropoutDelay", selection(scan.ComboScanDelay[0])},
                                  {"txDwell", selection(scan.ComboScanDelay[1])},
                                  {"priorityChannels", channels}};
        QCOMPARE(shown["scan"].toObject(), windows);
        QCOMPARE(shown["message"].toArray(), QJsonArray({message.TextEmbedMessage[0]->text(),
                                                         message.TextEmbedMessage[1]->text()}));
    }
};

QTEST_MAIN(ShowMatchesWindowsTest)
#include "show_matches_windows_test.moc"
