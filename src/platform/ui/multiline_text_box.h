#pragma once
// A multi-line text box: the text wraps at the box's width, lines break at CR LF, and a vertical
// scroll bar appears when the text is taller than the box. As with the single-line box, the change
// handler runs whenever the text changes, from code too, and a locked box takes no typing.
#include <QString>
#include <functional>
#include <string>

#include "platform/ui/controls.h"

class QPlainTextEdit;

namespace sq {

class MultiLineTextBox : public Control {
public:
    explicit MultiLineTextBox(QWidget* parent, const std::string& text = {});
    // Line breaks may be CR LF, a bare CR or a bare LF.
    void setText(const std::string& text);
    // The lines joined by CR LF.
    [[nodiscard]] std::string Text() const;
    void setLocked(bool on);
    [[nodiscard]] bool Locked() const;
    // Types `text` at the end as a user would (tests); nothing when locked.
    void type(const std::string& text);

    std::function<void()> onChange;

private:
    QPlainTextEdit* edit() const;
    QString m_shown;  // the text last shown, so a change that restores it runs nothing
};

}  // namespace sq
