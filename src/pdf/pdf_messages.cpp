#include "pdf/pdf_messages.h"

#include "platform/dialogs.h"

namespace sq::pdf {

void showSetterMessage(const std::string& text, const std::string& topic) {
    msgBox(text, MsgButtons::OK, MsgIcon::Critical, topic + kWriterName);
}

}  // namespace sq::pdf
