// Markup bytes through the parser, then through everything a loaded tree meets: search,
// clone, attribute text round trip and serialisation.
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/element.h"
#include "core/xml_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static XMLParser parser;
    XElement* root = nullptr;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!parser.ParseMemory(bytes, &root))
        return 0;
    std::unique_ptr<XElement> tree(root);
    tree->Find(L"a");
    tree->FindPath(L"/a/b");
    std::unique_ptr<XElement> copy(tree->Clone());
    XElement scratch;
    scratch.MakeValue(tree->MakeString());
    std::string text = tree->Serialize();
    XElement* back = nullptr;
    if (parser.ParseMemory(text, &back))
        delete back;
    return 0;
}
