#include "widgets/byte_line_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>

using widgets::ByteLineEdit;

namespace {

// What a keyboard does: one key press per character at the cursor (none: Backspace).
void Type(QLineEdit& edit, const QString& keys = QString())
{
    if (keys.isEmpty()) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(&edit, &press);
    }
    for (QChar c : keys) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&edit, &press);
    }
}

}  // namespace

TEST(ByteLineEditTest, TypingAndPastingStopAtTheByteLimitOnACharacterBoundary)
{
    ByteLineEdit edit;
    edit.setMaxBytes(5);
    int rejected = 0;
    QObject::connect(&edit, &QLineEdit::inputRejected, [&rejected] { ++rejected; });

    Type(edit, QStringLiteral("アイウ"));  // two bytes each
    Type(edit, QStringLiteral("ab"));      // "a" makes exactly five
    EXPECT_EQ(edit.text(), QStringLiteral("アイa"));
    EXPECT_EQ(rejected, 2);
    Type(edit);
    Type(edit, QStringLiteral("ｱｲ"));  // half-width katakana is one byte
    EXPECT_EQ(edit.text(), QStringLiteral("アイｱ"));

    // A paste over a selection keeps as many whole characters as fit.
    edit.setMaxBytes(6);
    edit.setText(QStringLiteral("aXYZWb"));
    edit.setSelection(1, 4);
    edit.insert(QStringLiteral("漢字かな"));
    EXPECT_EQ(edit.text(), QStringLiteral("a漢字b"));
    EXPECT_EQ(edit.cursorPosition(), 3);
    edit.insert(QStringLiteral("字"));  // one byte left
    EXPECT_EQ(edit.text(), QStringLiteral("a漢字b"));

    // An input method's commit is an insertion like any other.
    edit.setText(QString());
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("図面管理"));
    QApplication::sendEvent(&edit, &commit);
    EXPECT_EQ(edit.text(), QStringLiteral("図面管"));
}

TEST(ByteLineEditTest, RefusesCharactersWithNoCp932FormAndControlCharacters)
{
    for (int limit : {0, 20}) {
        SCOPED_TRACE(limit);
        ByteLineEdit edit;
        edit.setMaxBytes(limit);
        edit.insert(QStringLiteral("ok"));
        Type(edit, QStringLiteral("é"));
        edit.insert(QStringLiteral("abc\u00E9"));            // refused whole, not cut
        edit.insert(QString::fromUtf8("\xF0\x9F\x98\x80"));  // an emoji
        edit.insert(QStringLiteral("\u00A5"));  // CP932 would turn the yen sign into "\"
        edit.insert(QStringLiteral("a\nb"));    // a line break would split a settings line
        edit.insert(QStringLiteral("ソ表"));
        EXPECT_EQ(edit.text(), QStringLiteral("okソ表"));
    }
}

TEST(ByteLineEditTest, StoredValuesAreShownWholeAndComeBackByteForByte)
{
    ByteLineEdit edit;
    edit.setMaxBytes(4);
    edit.setBytes("\x83\x5C");  // "ソ": its second byte is a backslash
    EXPECT_EQ(edit.text(), QStringLiteral("ソ"));
    Type(edit, QStringLiteral("a"));
    EXPECT_EQ(edit.bytes(),
              "\x83\x5C"
              "a");

    // Past the limit: shown whole, may shrink, may not grow.
    edit.setBytes("ABCDEF");
    EXPECT_TRUE(edit.hasAcceptableInput());  // Enter still reaches the default button
    Type(edit, QStringLiteral("x"));
    Type(edit);
    Type(edit);
    Type(edit, QStringLiteral("x"));
    EXPECT_EQ(edit.text(), QStringLiteral("ABCD"));
    Type(edit);
    Type(edit, QStringLiteral("xy"));
    EXPECT_EQ(edit.text(), QStringLiteral("ABCx"));

    // Bytes that are not valid CP932 survive as long as nobody edits them.
    edit.setMaxBytes(0);
    edit.setBytes("A\x85\x40Z");
    EXPECT_EQ(edit.bytes(), "A\x85\x40Z");
}

TEST(ByteLineEditTest, SwitchingOffTheInputMethodStopsItsQueries)
{
    ByteLineEdit edit;
    const auto imEnabled = [&edit] {
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QApplication::sendEvent(&edit, &query);
        return query.value(Qt::ImEnabled).toBool();
    };
    ASSERT_TRUE(imEnabled());
    widgets::SwitchOffInputMethod(&edit);
    EXPECT_FALSE(imEnabled());
    edit.setReadOnly(true);
    edit.setReadOnly(false);  // turns the attribute back on
    EXPECT_FALSE(imEnabled());
    EXPECT_TRUE(edit.inputMethodHints().testFlag(Qt::ImhPreferLatin));
}
