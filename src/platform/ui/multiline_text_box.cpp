#include "platform/ui/multiline_text_box.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace sq {

namespace {

QString withLineFeeds(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

}  // namespace

MultiLineTextBox::MultiLineTextBox(QWidget* parent, const std::string& text)
    : Control(new QPlainTextEdit(parent)) {
    QPlainTextEdit* e = edit();
    e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    e->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    e->setTabChangesFocus(true);
    m_shown = withLineFeeds(text);
    e->setPlainText(m_shown);
    QObject::connect(e, &QPlainTextEdit::textChanged, [this] {
        QString now = edit()->toPlainText();
        if (now == m_shown) return;
        m_shown = now;
        fire(onChange);
    });
}

QPlainTextEdit* MultiLineTextBox::edit() const {
    return static_cast<QPlainTextEdit*>(widget());
}

void MultiLineTextBox::setText(const std::string& text) {
    QString s = withLineFeeds(text);
    if (s == edit()->toPlainText()) return;
    edit()->setPlainText(s);
}

std::string MultiLineTextBox::Text() const {
    QString s = edit()->toPlainText();
    s.replace(QChar('\n'), QStringLiteral("\r\n"));
    return s.toStdString();
}

void MultiLineTextBox::setLocked(bool on) {
    edit()->setReadOnly(on);
}

bool MultiLineTextBox::Locked() const {
    return edit()->isReadOnly();
}

void MultiLineTextBox::type(const std::string& text) {
    if (edit()->isReadOnly()) return;
    QTextCursor cursor = edit()->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(withLineFeeds(text));
    edit()->setTextCursor(cursor);
}

}  // namespace sq
