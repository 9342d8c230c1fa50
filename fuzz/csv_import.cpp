// CSV files as the phone book imports them.
#include "contact_check.h"

namespace {

void csvImport(const QByteArray& data)
{
    fuzz::checkImport(contact_import::parseCsv(data));
}

} // namespace

CORVANE_FUZZ_HARNESS("csv_import", csvImport)
