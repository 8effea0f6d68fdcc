// Attribute texts ("key=value,...") as scripts and loaders pass them.
#include <cstdint>
#include <string>

#include "core/element.h"
#include "platform/base/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring text = plat::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    XElement e;
    e.MakeValue(text);
    std::wstring again = e.MakeString();
    XElement f;
    f.MakeValue(again);
    e.RenameKey(L"a", L"b");
    e.Merge(&f);
    return 0;
}
