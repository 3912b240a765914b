#include "widgets/byte_line_edit.h"

#include <QEvent>
#include <QInputMethodQueryEvent>
#include <QMouseEvent>
#include <QValidator>
#include <algorithm>

#include "text/cp932.h"

namespace widgets {

namespace {

// UTF-16 units of the character starting at i (a surrogate pair is one character).
qsizetype CharUnits(const QString& text, qsizetype i)
{
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return 2;
    return 1;
}

bool HasControlCharacter(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

// Bytes of a text already shown, which may hold stand-ins for damaged stored bytes.
int ShownBytes(const QString& text)
{
    const int exact = text::Cp932Length(text);
    return exact >= 0 ? exact : static_cast<int>(text::ToCp932Lossy(text).size());
}

// Answers "no" when the platform asks whether the widget takes an input method.
// The attribute alone is not enough: a QLineEdit answers that question itself.
class InputMethodBlocker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::InputMethodQuery)
            return false;
        auto* query = static_cast<QInputMethodQueryEvent*>(event);
        if (!(query->queries() & Qt::ImEnabled))
            return false;
        watched->event(event);  // the widget answers the other questions
        query->setValue(Qt::ImEnabled, false);
        return true;
    }
};

}  // namespace

class ByteLineEdit::Validator : public QValidator {
public:
    explicit Validator(ByteLineEdit* edit) : QValidator(edit), edit_(edit) {}

    State validate(QString& input, int& pos) const override
    {
        const QString& before = edit_->before_;
        if (edit_->settingByProgram_ || input == before)
            return Acceptable;

        // The change as one replacement: before = head + removed + tail,
        // input = head + inserted + tail. Where equal characters make the place
        // ambiguous, every choice gives the same text.
        const qsizetype shorter = std::min(before.size(), input.size());
        qsizetype head = 0;
        while (head < shorter && before.at(head) == input.at(head))
            ++head;
        if (head > 0 && before.at(head - 1).isHighSurrogate())
            --head;
        qsizetype tail = 0;
        while (tail < shorter - head &&
               before.at(before.size() - 1 - tail) == input.at(input.size() - 1 - tail))
            ++tail;
        if (tail > 0 && input.at(input.size() - tail).isLowSurrogate())
            --tail;
        const QString inserted = input.mid(head, input.size() - head - tail);
        if (inserted.isEmpty())
            return Acceptable;  // only deleted

        if (HasControlCharacter(inserted) || text::Cp932Length(inserted) < 0)
            return Invalid;
        const int limit = edit_->maxBytes_;
        if (limit <= 0)
            return Acceptable;

        const QString kept = before.left(head) + before.right(tail);
        int room = limit - ShownBytes(kept);
        qsizetype fits = 0;
        while (fits < inserted.size()) {
            const qsizetype units = CharUnits(inserted, fits);
            const int bytes = text::Cp932Length(inserted.mid(fits, units));
            if (bytes > room)
                break;
            room -= bytes;
            fits += units;
        }
        if (fits == 0)
            return Invalid;
        if (fits < inserted.size()) {
            input = before.left(head) + inserted.left(fits) + before.right(tail);
            pos = static_cast<int>(head + fits);
        }
        return Acceptable;
    }

private:
    ByteLineEdit* edit_;
};

ByteLineEdit::ByteLineEdit(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new Validator(this));
    // Emitted after every change has been judged: what the next one is judged against.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& now) { before_ = now; });
}

void ByteLineEdit::setMaxBytes(int bytes)
{
    maxBytes_ = std::max(bytes, 0);
}

std::string ByteLineEdit::bytes() const
{
    const QString shown = text();
    if (shown == storedText_)
        return storedBytes_;
    return text::ToCp932Lossy(shown);
}

void ByteLineEdit::setBytes(std::string_view cp932)
{
    storedBytes_.assign(cp932);
    storedText_ = text::FromCp932(cp932);
    setText(storedText_);
}

void ByteLineEdit::setText(const QString& text)
{
    settingByProgram_ = true;
    QLineEdit::setText(text);
    settingByProgram_ = false;
}

void ByteLineEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void SwitchOffInputMethod(QWidget* widget)
{
    widget->setAttribute(Qt::WA_InputMethodEnabled, false);
    widget->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
    const QString blockerName = QStringLiteral("InputMethodBlocker");
    if (!widget->findChild<QObject*>(blockerName, Qt::FindDirectChildrenOnly)) {
        auto* blocker = new InputMethodBlocker(widget);
        blocker->setObjectName(blockerName);
        widget->installEventFilter(blocker);
    }
}

}  // namespace widgets
