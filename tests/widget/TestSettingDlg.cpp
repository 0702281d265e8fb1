#include "dialogs/CSettingDlg.h"
#include "platform/AppEvents.h"
#include "support/Patience.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPrompter.h"
#include "support/WidgetChecks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

// Stands in for the view: keeps the pad sizes posted to it.
class PadSizeTarget : public QObject {
public:
    std::vector<long> sizes;

    bool event(QEvent* event) override {
        if (event->type() == static_cast<QEvent::Type>(WM_PAD_SIZE)) {
            sizes.push_back(static_cast<CAppEvent*>(event)->Value());
            return true;
        }
        return QObject::event(event);
    }
};

class SettingDlgTest : public testing::Test {
protected:
    SettingDlgTest() : dialog(prompter, &target) {
        // What the settings command passes for a profile holding the defaults.
        dialog.values.m_nFontSizeNormal = 2;
        dialog.values.m_nFontSizeFull = 4;
        dialog.values.m_nPadSize = 40;
        dialog.values.m_strExtFilterV = QStringLiteral("avi;mov;mpg;mpeg;wmv;mp4;m4v;flv;ogm;divx");
        dialog.values.m_strExtFilterA =
            QStringLiteral("mp3;aac;ac3;wma;m4a;aif;wav;oga;rm;flac;fla");
        dialog.values.m_bAFNoResume = true;
    }

    template <typename T> T* Control(const char* id) {
        T* control = dialog.findChild<T*>(QString::fromLatin1(id));
        EXPECT_NE(control, nullptr) << id;
        return control;
    }
    QLineEdit* Field(const char* id) { return Control<QLineEdit>(id); }
    void ClickOk() { Control<QPushButton>("1")->click(); }

    ScriptedPrompter prompter;
    PadSizeTarget target;
    CSettingDlg dialog;
};

} // namespace

TEST_F(SettingDlgTest, OpensShowingTheMembers) {
    dialog.open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("設定"));
    EXPECT_EQ(Control<QComboBox>("1000")->currentText(), QStringLiteral("中"));
    EXPECT_EQ(Control<QComboBox>("1001")->currentText(), QStringLiteral("最大"));
    EXPECT_EQ(Field("1006")->text(), QStringLiteral("12"));
    EXPECT_EQ(Field("1008")->text(), QStringLiteral("12"));
    EXPECT_EQ(Field("1013")->text(), QStringLiteral("2200"));
    EXPECT_EQ(Field("1015")->text(), QStringLiteral("2000"));
    EXPECT_EQ(Field("1002")->text(), dialog.values.m_strExtFilterV);
    EXPECT_EQ(Field("1003")->text(), dialog.values.m_strExtFilterA);
    EXPECT_TRUE(Control<QCheckBox>("1004")->isChecked());
    const QSlider* slider = Control<QSlider>("1005");
    EXPECT_EQ(slider->value(), 40);
    EXPECT_EQ(slider->minimum(), 20);
    EXPECT_EQ(slider->maximum(), 100);
    EXPECT_EQ(slider->tickInterval(), 10);
    EXPECT_EQ(dialog.focusWidget(), Control<QPushButton>("1"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(target.sizes.empty()) << "showing the size is not a move";
}

TEST_F(SettingDlgTest, EveryCaptionFits) {
    dialog.open();
    EXPECT_EQ(ClippedTexts(dialog), QStringList());
}

TEST_F(SettingDlgTest, BothListsOfferTheFiveSizeSteps) {
    const QStringList steps{"最小", "小さめ", "中", "大きめ", "最大"};
    for (const char* id : {"1000", "1001"}) {
        QStringList items;
        const QComboBox* list = Control<QComboBox>(id);
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        EXPECT_EQ(items, steps) << id;
    }
}

TEST_F(SettingDlgTest, TabOrderRunsFromTheButtonsThroughTheFieldsInExchangeOrder) {
    dialog.open();
    QStringList order;
    QWidget* widget = Control<QPushButton>("1");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != Control<QPushButton>("1") && order.size() < 40);
    EXPECT_EQ(order.join(' '),
              QStringLiteral("1 2 1000 1001 1005 1006 1008 1002 1003 1004 1013 1015"));
}

TEST_F(SettingDlgTest, NumberFieldsAcceptTheirRangeAndRefuseEverythingElse) {
    const QString notNumber = QStringLiteral("整数を入力してください。");
    struct Case {
        std::string id;
        QString text;
        QString message; // empty: accepted
    };
    struct Field {
        const char* id;
        SettingKey key;
        std::function<int64_t(const ViewSettings&)> stored;
    };
    const Field fields[] = {
        {"1006", SettingKey::SkipForwardSec, [](auto& v) { return v.m_nSkipForwardSec; }},
        {"1008", SettingKey::SkipBackSec, [](auto& v) { return v.m_nSkipBackSec; }},
        {"1013", SettingKey::EndChkTimeout, [](auto& v) { return v.m_nEndChkTimeout; }},
        {"1015", SettingKey::MPPrepCycleTime, [](auto& v) { return v.mplayerPrepCycleTime; }}};
    std::vector<Case> cases;
    // Each field's edges, from the profile's own ranges.
    for (const Field& f : fields) {
        const SettingDirective& d = Directive(f.key);
        const QString refused = QStringLiteral("%1 から %2 までの整数を入力してください。")
                                    .arg(d.minimum)
                                    .arg(d.maximum);
        for (const int64_t value : {d.minimum - 1, d.maximum + 1})
            cases.push_back({f.id, QString::number(value), refused});
        for (const int64_t value : {d.minimum, d.maximum})
            cases.push_back({f.id, QString::number(value), {}});
    }
    const QString skipRange = QStringLiteral("1 から 600 までの整数を入力してください。");
    cases.insert(cases.end(), {{"1006", "", notNumber},
                               {"1008", "abc", notNumber},
                               {"1013", "12x", notNumber},
                               {"1006", "-5", skipRange},
                               {"1015", "99999999999999999999999",
                                QStringLiteral("500 から 50000 までの整数を入力してください。")},
                               {"1006", "007", {}}});
    const auto storedAt = [&](const std::string& id, const ViewSettings& values) {
        for (const Field& f : fields)
            if (id == f.id)
                return f.stored(values);
        return int64_t{-1};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id + " '" + c.text.toStdString() + "'");
        ScriptedPrompter prompter;
        CSettingDlg dialog(prompter, nullptr);
        dialog.open();
        auto* field = dialog.findChild<QLineEdit*>(QString::fromStdString(c.id));
        ASSERT_NE(field, nullptr);
        field->setText(c.text); // also what a paste would leave
        QWidget* focusAtMessage = nullptr;
        prompter.onPrompt = [&](const ScriptedPrompter::Prompt&) {
            focusAtMessage = dialog.focusWidget();
        };
        dialog.findChild<QPushButton*>(QStringLiteral("1"))->click();

        if (c.message.isEmpty()) {
            EXPECT_TRUE(prompter.prompts.empty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_FALSE(dialog.isVisible());
            EXPECT_EQ(storedAt(c.id, dialog.values), c.text.toInt());
            continue;
        }
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(prompter.prompts[0].kind, ScriptedPrompter::Kind::Message);
        EXPECT_EQ(prompter.prompts[0].text, c.message);
        EXPECT_EQ(prompter.prompts[0].icon, MessageIcon::Warning);
        EXPECT_NE(focusAtMessage, field) << "the focus moves after the message is read";
        EXPECT_EQ(dialog.focusWidget(), field);
        EXPECT_EQ(field->selectedText(), field->text());
    }
}

TEST_F(SettingDlgTest, ValidationStopsAtTheFirstFailingFieldInExchangeOrder) {
    dialog.values.m_strExtFilterA =
        QString(300, 'a'); // only a hand-edited profile holds more than 256
    dialog.open();
    Field("1015")->setText("1");
    Field("1006")->setText("0");
    ClickOk();
    ClickOk();
    Field("1003")->setText("ogg");
    ClickOk();
    Field("1006")->setText("30");
    ClickOk();
    EXPECT_EQ(prompter.Texts(ScriptedPrompter::Kind::Message),
              (QStringList{"256 文字以内で入力してください。", "256 文字以内で入力してください。",
                           "1 から 600 までの整数を入力してください。",
                           "500 から 50000 までの整数を入力してください。"}));
    EXPECT_EQ(dialog.focusWidget(), Field("1015"));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(SettingDlgTest, ARefusedOkThenCancelLeavesEveryValueMember) {
    dialog.open();
    Field("1002")->setText("mkv");
    Field("1006")->setText("30");
    Field("1013")->setText("1");
    Control<QCheckBox>("1004")->setChecked(false);
    Control<QComboBox>("1000")->setCurrentIndex(0);
    ClickOk(); // refused at 1013, after 1002 and 1006 passed
    Control<QPushButton>("2")->click();

    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.values.m_strExtFilterV,
              QStringLiteral("avi;mov;mpg;mpeg;wmv;mp4;m4v;flv;ogm;divx"));
    EXPECT_EQ(dialog.values.m_nSkipForwardSec, 12);
    EXPECT_EQ(dialog.values.m_nEndChkTimeout, 2200u);
    EXPECT_TRUE(dialog.values.m_bAFNoResume);
    EXPECT_EQ(dialog.values.m_nFontSizeNormal, 2);
}

TEST_F(SettingDlgTest, EnterInAFieldPressesOk) {
    dialog.open();
    Field("1006")->setText("0");
    QTest::keyClick(Field("1006"), Qt::Key_Return);
    EXPECT_EQ(prompter.Texts(ScriptedPrompter::Kind::Message),
              QStringList{"1 から 600 までの整数を入力してください。"});
    Field("1006")->setText("5");
    QTest::keyClick(Field("1006"), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values.m_nSkipForwardSec, 5);
}

TEST_F(SettingDlgTest, EscRejectsWithoutStoring) {
    dialog.open();
    Field("1008")->setText("99");
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.values.m_nSkipBackSec, 12);
}

TEST_F(SettingDlgTest, OkCopiesTheListsAndTheCheckBoxAndKeepsAnIndexTheListCannotShow) {
    dialog.open();
    Control<QComboBox>("1000")->setCurrentIndex(0);
    Control<QComboBox>("1001")->setCurrentIndex(3);
    Control<QCheckBox>("1004")->setChecked(false);
    ClickOk();
    EXPECT_EQ(dialog.values.m_nFontSizeNormal, 0);
    EXPECT_EQ(dialog.values.m_nFontSizeFull, 3);
    EXPECT_FALSE(dialog.values.m_bAFNoResume);

    ScriptedPrompter otherPrompter;
    CSettingDlg other(otherPrompter, nullptr);
    other.values.m_nFontSizeNormal = 7; // a hand-edited profile
    other.open();
    EXPECT_EQ(other.findChild<QComboBox*>("1000")->currentIndex(), -1);
    other.findChild<QPushButton*>("1")->click();
    EXPECT_EQ(other.result(), QDialog::Accepted);
    EXPECT_EQ(other.values.m_nFontSizeNormal, 7);
    EXPECT_EQ(other.values.m_nFontSizeFull, 4);
}

TEST_F(SettingDlgTest, ExtensionListsTakeExactly256Characters) {
    dialog.open();
    QLineEdit* video = Field("1002");
    video->clear();
    QTest::keyClicks(video, QString(257, 'a'));
    EXPECT_EQ(video->text().size(), 256);
    Field("1003")->setText(QString(256, 'b'));
    ClickOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values.m_strExtFilterV, QString(256, 'a'));
    EXPECT_EQ(dialog.values.m_strExtFilterA, QString(256, 'b'));
}

TEST_F(SettingDlgTest, ALongerStoredListIsShownWholeAndRefusedAtOk) {
    const QString stored = QString(300, 'x');
    dialog.values.m_strExtFilterA = stored;
    dialog.open();
    EXPECT_EQ(Field("1003")->text(), stored);
    ClickOk();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompter.Texts(ScriptedPrompter::Kind::Message),
              QStringList{"256 文字以内で入力してください。"});
    EXPECT_EQ(dialog.focusWidget(), Field("1003"));
    EXPECT_EQ(dialog.values.m_strExtFilterA, stored);
}

TEST_F(SettingDlgTest, NumberFieldsTakeOnlyDigitsFromTheKeyboard) {
    dialog.open();
    QLineEdit* field = Field("1006");
    field->clear();
    QTest::keyClicks(field, "1a-2 .3");
    EXPECT_EQ(field->text(), QStringLiteral("123"));
}

TEST_F(SettingDlgTest, MovingTheSliderPostsEachSizeToTheTargetAndSetsPadSize) {
    dialog.open();
    QSlider* slider = Control<QSlider>("1005");
    slider->setValue(70);
    EXPECT_EQ(dialog.values.m_nPadSize, 70);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(dialog.values.m_nPadSize, 71);
    ASSERT_TRUE(QTest::qWaitFor([&] { return target.sizes.size() == 2; }, kPatienceMs));
    EXPECT_EQ(target.sizes, (std::vector<long>{70, 71}));
}

TEST_F(SettingDlgTest, CancelKeepsTheValueMembersButNotTheLiveSize) {
    dialog.open();
    Control<QSlider>("1005")->setValue(90);
    Field("1006")->setText("42");
    Field("1003")->setText("ogg");
    Control<QPushButton>("2")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.values.m_nPadSize, 90) << "moved live; the caller puts the old size back";
    EXPECT_EQ(dialog.values.m_nSkipForwardSec, 12);
    EXPECT_EQ(dialog.values.m_strExtFilterA,
              QStringLiteral("mp3;aac;ac3;wma;m4a;aif;wav;oga;rm;flac;fla"));
}

TEST_F(SettingDlgTest, APadSizeOutsideTheSliderIsShownAtTheNearestEndAndKeptUntilMoved) {
    struct Case {
        int stored;
        int shown;
    };
    for (const Case c : {Case{150, 100}, Case{5, 20}, Case{-1, 20}}) {
        ScriptedPrompter prompter;
        CSettingDlg dialog(prompter, nullptr);
        dialog.values.m_nPadSize = c.stored;
        dialog.open();
        EXPECT_EQ(dialog.findChild<QSlider*>("1005")->value(), c.shown) << c.stored;
        dialog.findChild<QPushButton*>("1")->click();
        EXPECT_EQ(dialog.values.m_nPadSize, c.stored);
    }
}

TEST_F(SettingDlgTest, ReopeningLoadsTheMembersAgain) {
    dialog.open();
    Field("1006")->setText("99");
    Control<QPushButton>("2")->click();
    dialog.values.m_nSkipForwardSec = 33;
    dialog.open();
    EXPECT_EQ(Field("1006")->text(), QStringLiteral("33"));
}
