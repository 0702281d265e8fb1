#include "dialogs/CUpDownCtrl.h"
#include "support/QtPrinters.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(UpDownCtrl, StepsTheFieldsNumberInsideTheRange) {
    struct Case {
        const char* before;
        int delta;
        const char* after;
    };
    const Case cases[] = {
        {"12", 1, "13"}, {"12", -1, "11"}, {"600", 1, "600"}, {"1", -1, "1"},  {"601", 1, "600"},
        {"0", 1, "1"},   {"", 1, "1"},     {"", -1, "1"},     {"007", 1, "8"},
    };
    for (const Case& c : cases) {
        QLineEdit field;
        CUpDownCtrl upDown(&field, 1, 600);
        field.setText(QString::fromLatin1(c.before));
        upDown.Step(c.delta);
        EXPECT_EQ(field.text(), QString::fromLatin1(c.after)) << c.before << " " << c.delta;
    }
}

TEST(UpDownCtrl, ButtonsAndArrowKeysStepWithoutTakingTheFocus) {
    QLineEdit field;
    CUpDownCtrl upDown(&field, 500, 50000);
    field.setText("49999");
    upDown.UpButton()->click();
    EXPECT_EQ(field.text(), QStringLiteral("50000")) << "no thousands separator";
    upDown.DownButton()->click();
    QTest::keyClick(&field, Qt::Key_Down);
    EXPECT_EQ(field.text(), QStringLiteral("49998"));
    QTest::keyClick(&field, Qt::Key_Up);
    EXPECT_EQ(field.text(), QStringLiteral("49999"));
    EXPECT_EQ(upDown.UpButton()->focusPolicy(), Qt::NoFocus);
}
