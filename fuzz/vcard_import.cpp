// vCard files as the phone book imports them.
#include "contact_check.h"

namespace {

void vcardImport(const QByteArray& data)
{
    fuzz::checkImport(contact_import::parseVCard(data));
}

} // namespace

CORVANE_FUZZ_HARNESS("vcard_import", vcardImport)
