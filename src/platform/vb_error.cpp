#include "platform/vb_error.h"

namespace sq {

std::string VbError::defaultText(int number) {
    switch (number) {
        case kInvalidCall:
            return "Invalid procedure call or argument";
        case kOverflow:
            return "Overflow";
        case kSubscriptOutOfRange:
            return "Subscript out of range";
        case kDivisionByZero:
            return "Division by zero";
        case kTypeMismatch:
            return "Type mismatch";
        case 57:
            return "Device I/O error";
        case kFileNotFound:
            return "File not found";
        case kPermissionDenied:
            return "Permission denied";
        case kPathNotFound:
            return "Path not found";
        case kObjectNotSet:
            return "Object variable not set";
        case kInvalidPropertyValue:
            return "Invalid property value";
        default:
            return "Error " + std::to_string(number);
    }
}

}  // namespace sq
