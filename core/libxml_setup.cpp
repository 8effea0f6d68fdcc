#include "core/libxml_setup.h"

#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

namespace orvo {

namespace {
void IgnoreStructured(void*, xmlErrorPtr) {}
void IgnoreGeneric(void*, const char*, ...) {}
} // namespace

void EnsureLibxmlReady() {
    static const bool ready = [] {
        xmlInitParser();
        // EUC-KR files from Windows routinely carry CP949 extension characters, so every
        // Korean name decodes as CP949, its superset.
        for (const char* alias : {"EUC-KR", "EUCKR", "KS_C_5601-1987", "KS_C_5601", "KSC5601", "X-WINDOWS-949",
                                  "WINDOWS-949", "UHC", "MS949"})
            xmlAddEncodingAlias("CP949", alias);
        return true;
    }();
    (void)ready;
    // Error handlers are per thread in libxml2; setting them is cheap.
    xmlSetStructuredErrorFunc(nullptr, IgnoreStructured);
    xmlSetGenericErrorFunc(nullptr, IgnoreGeneric);
}

} // namespace orvo
