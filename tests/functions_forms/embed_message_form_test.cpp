// The embedded message window driven as a user does, asserting the image bytes.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "core/document.h"
#include "functions/form_embed_message.h"
#include "tests/support/fake_editor_host.h"

using namespace baldo7;

class EmbedMessageFormTest : public QObject {
    Q_OBJECT
    Document doc;
    std::unique_ptr<FakeEditorHost> host;
    std::unique_ptr<FormEmbedMessage> form;

    void open() {
        form = std::make_unique<FormEmbedMessage>(doc, *host);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    QLineEdit* line(int i) { return form->TextEmbedMessage[i]; }
    void focus(QWidget* w) {
        w->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), w);
    }

private slots:
    void init() {
        doc = Document{};
        doc.IsEnglish = true;
        doc.radioImage.fill(0xFF);
        host = std::make_unique<FakeEditorHost>();
    }
    void cleanup() { form.reset(); }

    void enterPacksTheMessageAndMovesOn() {
        const std::uint8_t bytes[] = {0x48, 0x49, 0xFF, 0x41};
        std::copy(std::begin(bytes), std::end(bytes), doc.radioImage.begin() + 768);
        const RadioImage before = doc.radioImage;
        open();
        QCOMPARE(line(0)->text(), QStringLiteral("HIA"));
        QCOMPARE(line(1)->text(), QString());
        QCOMPARE(form->LabelStored->text(),
                 QStringLiteral("The message is stored in the data file; Write To Radio does not "
                                "send it."));
        // Passing through both lines stores nothing.
        focus(line(0));
        focus(line(1));
        focus(form->CommandClose);
        QCOMPARE(doc.radioImage, before);

        // Enter on an unchanged line stores nothing either (the gap stays), and
        // moves on.
        line(1)->setText(QStringLiteral("keep me"));
        focus(line(0));
        QTest::keyClick(line(0), Qt::Key_Return);
        QCOMPARE(doc.radioImage, before);
        QTRY_COMPARE(QApplication::focusWidget(), line(1));
        QCOMPARE(line(1)->selectedText(), QStringLiteral("keep me"));
        QTest::keyClicks(line(1), "Bye");
        QTest::keyClick(line(1), Qt::Key_Enter);
        QTRY_COMPARE(QApplication::focusWidget(), form->CommandClose);
        QCOMPARE(form->TextEmbedMessage[1]->text(), QStringLiteral("Bye"));
        QCOMPARE(doc.radioImage[800], 'B');
        QCOMPARE(doc.radioImage[803], 0xFF);
        QCOMPARE(doc.radioImage[770], 0xFF);  // line 1 was not stored with it
        QCOMPARE(doc.radioImage[771], 0x41);
        QCOMPARE(doc.radioImage[767], 0xFF);
        QCOMPARE(doc.radioImage[832], 0xFF);
    }

    void aChangedLineIsStoredWhenItLosesTheFocus() {
        open();
        focus(line(0));
        QTest::keyClicks(line(0), QString(40, QLatin1Char('x')));
        QCOMPARE(line(0)->text().size(), 32);
        focus(line(1));
        for (std::size_t a = 768; a < 800; ++a) QCOMPARE(doc.radioImage[a], std::uint8_t('x'));
        QCOMPARE(doc.radioImage[800], 0xFF);
        // Clearing the line clears all its cells.
        line(0)->clear();
        focus(line(0));
        focus(form->CommandClose);
        for (std::size_t a = 768; a < 832; ++a) QCOMPARE(doc.radioImage[a], 0xFF);
        // Closing the window with a changed line in hand keeps the change.
        focus(line(1));
        QTest::keyClicks(line(1), "last");
        form->close();
        QCOMPARE(doc.radioImage[800], 'l');
    }

    void wideCharactersAreRefused_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("text");
        QTest::newRow("typed Chinese") << "type" << QStringLiteral("中");
        QTest::newRow("typed Latin-1") << "type" << QStringLiteral("é");
        QTest::newRow("pasted with an emoji") << "paste" << QStringLiteral("OK😀");
        QTest::newRow("pasted Chinese") << "paste" << QStringLiteral("AB中文");
        QTest::newRow("input method") << "im" << QStringLiteral("中文");
    }
    void wideCharactersAreRefused() {
        QFETCH(QString, how);
        QFETCH(QString, text);
        doc.radioImage[768] = 'H';
        doc.radioImage[769] = 'I';
        const RadioImage before = doc.radioImage;
        open();
        QVERIFY(form->LabelCharacters->isHidden());
        focus(line(0));
        line(0)->end(false);
        if (how == "type") {
            // What a keyboard layout with the character sends (QTest types Latin-1 only).
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
            QApplication::sendEvent(line(0), &press);
        } else if (how == "paste") {
            QApplication::clipboard()->setText(text);
            QTest::keySequence(line(0), QKeySequence::Paste);
        } else {
            QInputMethodEvent event(QString(), {});
            event.setCommitString(text);
            QApplication::sendEvent(line(0), &event);
        }
        QCOMPARE(line(0)->text(), QStringLiteral("HI"));
        // Said in the window, not in a box that would stop the typing.
        QVERIFY(form->LabelCharacters->isVisible());
        QVERIFY(form->LabelCharacters->text().startsWith("The radio shows only English letters"));
        QVERIFY(host->messageService.shown.isEmpty());
        QTest::keyClick(line(0), Qt::Key_Return);
        QCOMPARE(doc.radioImage, before);
    }

    // A change that would overwrite tune data that is not blank asks first, naming
    // the row; Cancel puts the line back, OK stores it and is not asked again for that
    // line. Here a 136 MHz table: SQ under line 1, TX High under line 2's end.
    void overwritingTuneDataAsksFirst_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("question");
        QTest::newRow("English")
            << true
            << "Line 1 of the message is stored in the same bytes as the tune data row \"SQ\" "
               "(factory calibration), which is not blank. Storing the line overwrites that tune "
               "data. Do you wish continue?";
        QTest::newRow("中文")
            << false
            << "信息第1行与调谐数据行\"灵敏度\"（出厂校准）存放在同一组字节中，该行"
               "不为空。保存此行将覆盖这些调谐数据。是否继续？";
    }
    void overwritingTuneDataAsksFirst() {
        QFETCH(bool, english);
        QFETCH(QString, question);
        doc.IsEnglish = english;
        doc.BandLowMHz = 136;
        for (std::size_t k = 0; k < 16; ++k) {
            doc.radioImage[0x300 + k] = std::uint8_t(0x80 | (36 + 2 * k));  // SQ, not shown
            doc.radioImage[0x330 + k] = std::uint8_t(210 - 3 * k);          // TX High
        }
        const RadioImage calibrated = doc.radioImage;
        open();
        const QString shownLine2 = line(1)->text();
        QCOMPARE(shownLine2.size(), 0);  // 210..165 are not characters either

        focus(line(0));
        QTest::keyClicks(line(0), "HELLO");
        focus(line(1));  // default answer: Cancel
        QCOMPARE(host->messageService.shown.size(), 1);
        QCOMPARE(host->messageService.shown[0].text, question);
        QCOMPARE(line(0)->text(), QString());
        QVERIFY(doc.radioImage == calibrated);

        host->messageService.setAnswerer([](const Message&) { return MsgAnswer::Ok; });
        focus(line(0));
        QTest::keyClicks(line(0), "HELLO");
        QTest::keyClick(line(0), Qt::Key_Return);
        QCOMPARE(host->messageService.shown.size(), 2);
        QCOMPARE(doc.radioImage[0x300], 'H');
        QCOMPARE(doc.radioImage[0x305], calibrated[0x305]);  // skipped, so kept
        for (std::size_t a = 0x320; a < 0x340; ++a) QCOMPARE(doc.radioImage[a], calibrated[a]);
        // Line 1 again: agreed already. Line 2 short of TX High: nothing to ask.
        QTRY_COMPARE(QApplication::focusWidget(), line(1));
        focus(line(0));
        line(0)->end(false);
        QTest::keyClicks(line(0), "!");
        focus(line(1));
        QTest::keyClicks(line(1), QString(16, QLatin1Char('y')));
        focus(form->CommandClose);
        QCOMPARE(host->messageService.shown.size(), 2);
        QCOMPARE(doc.radioImage[0x305], '!');
        QCOMPARE(doc.radioImage[0x32F], 'y');
        QCOMPARE(doc.radioImage[0x330], calibrated[0x330]);
        // One more character reaches TX High: asked, refused, line 2 back as stored.
        host->messageService.setAnswerer(nullptr);
        focus(line(1));
        line(1)->end(false);
        QTest::keyClicks(line(1), "z");
        focus(form->CommandClose);
        QCOMPARE(host->messageService.shown.size(), 3);
        QVERIFY(
            host->messageService.shown[2].text.contains(english ? "\"TX High\"" : "\"低功率\""));
        QCOMPARE(line(1)->text(), QString(16, QLatin1Char('y')));
        QCOMPARE(doc.radioImage[0x330], calibrated[0x330]);
    }

    void chineseCaptionAndClose() {
        doc.IsEnglish = false;
        open();
        QCOMPARE(form->windowTitle(), QStringLiteral("嵌入信息"));
        QCOMPARE(form->CommandClose->text(), QStringLiteral("关闭(&C)"));
        QTest::mouseClick(form->CommandHelp, Qt::LeftButton);
        QCOMPARE(host->helpTopics, QStringList{"embmsg.htm"});
        QTest::mouseClick(form->CommandClose, Qt::LeftButton);
        QVERIFY(!host->appState.FormEmbedMessageOpen);
    }
};

QTEST_MAIN(EmbedMessageFormTest)
#include "embed_message_form_test.moc"
