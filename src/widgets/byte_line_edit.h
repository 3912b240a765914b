#pragma once
// A line edit whose limit counts CP932 bytes (a full-width character is two)
// and which refuses characters with no CP932 form, so nothing typed is changed
// on its way to the database.
//
// Every change (typing, pasting, dropping, an input method's commit) is judged
// against the text before it: an insertion holding a character with no CP932
// form, or a control character, is refused whole; an insertion that would pass
// the limit keeps as many of its whole characters as fit (a paste is cut at a
// character boundary, as a byte-limited edit of the platform would cut it); an
// insertion of which nothing fits is refused and inputRejected() is emitted.
// Deleting is always allowed, also from a stored value longer than the limit.
//
// The edit installs its own validator: do not replace it. A text the program
// sets (setBytes, setText) is shown as given, not judged.

#include <QLineEdit>
#include <string>
#include <string_view>

namespace widgets {

class ByteLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ByteLineEdit(QWidget* parent = nullptr);

    // 0 means no limit. Takes effect from the next change; the text shown stays.
    void setMaxBytes(int bytes);
    int maxBytes() const { return maxBytes_; }

    // The text as CP932 bytes, and set from such bytes (shown whole even past the
    // limit). A value set by setBytes and left untouched comes back byte for byte,
    // even when some of its bytes were not valid CP932.
    std::string bytes() const;
    void setBytes(std::string_view cp932);
    // Hides QLineEdit::setText so that a program-set text is never judged as typing.
    void setText(const QString& text);

signals:
    // A line edit has no double-click signal of its own; some fields act on one.
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    class Validator;
    friend class Validator;

    int maxBytes_ = 0;
    QString before_;  // the text as it was before the change being judged
    bool settingByProgram_ = false;
    std::string storedBytes_;
    QString storedText_;
};

// Number and date fields take half-width input only: the input method is off.
// The widget tells the platform it takes no input method (WA_InputMethodEnabled
// cleared, and an event filter answering the ImEnabled query with false, which
// stays in force when a QLineEdit later turns the attribute back on), and its
// hints ask for Latin input without prediction where an input method still
// looks at them.
void SwitchOffInputMethod(QWidget* widget);

}  // namespace widgets
