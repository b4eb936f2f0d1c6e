#include "platform/vb_error.h"

#include <cerrno>

#include "platform/atomic_file.h"

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
        case kDeviceIoError:
            return "Device I/O error";
        case kDiskFull:
            return "Disk full";
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

VbError fileError(int systemError) {
    int number = kDeviceIoError;
    switch (systemError) {
        case ENOENT:
        case ENOTDIR:
            number = kPathNotFound;
            break;
        case EACCES:
        case EPERM:
        case EROFS:
        case EBUSY:
        case ETXTBSY:
            number = kPermissionDenied;
            break;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            number = kDiskFull;
            break;
        default:
            break;
    }
    return VbError(number, fileErrorText(systemError));
}

}  // namespace sq
