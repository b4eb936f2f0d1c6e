#include "texts/platform_words.h"

namespace sq {

OpenFailureWords openFailureWords(const LanguageTexts& table) {
    return {table.TxtPortOpenFailure, table.TxtPortNotAssigned,  table.TxtPortNotFound,
            table.TxtPortBusy,        table.TxtPortNoPermission, table.TxtPortNotSerial};
}

ComPortTableWords comPortTableWords(const LanguageTexts& table) {
    return {table.TxtPortsFound, table.TxtPortNumbering};
}

}  // namespace sq
