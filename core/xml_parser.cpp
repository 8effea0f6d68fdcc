#include "core/xml_parser.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/attribute_bundle.h"
#include "core/contracts.h"
#include "core/libxml_setup.h"
#include "core/notice_messages.h"
#include "nubra/call_site.h"
#include "platform/base/codepage.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"
#include "platform/base/path.h"
#include "platform/base/text.h"

namespace {

XMLParser g_parser;
[[maybe_unused]] const int g_registered = [] {
    orvo::RegisterInstance(&g_parser);
    orvo::RegisterFactory<XElement>();
    return 1;
}();

// Appends UTF-8 text as wide text; names and most values are ASCII, which skips the decoder.
void AppendWide(std::wstring& out, const xmlChar* utf8, bool lower = false) {
    if (!utf8)
        return;
    const xmlChar* p = utf8;
    while (*p && *p < 0x80)
        ++p;
    std::size_t from = out.size();
    if (*p) {
        out += plat::FromUtf8(reinterpret_cast<const char*>(utf8));
    } else {
        out.resize(from + static_cast<std::size_t>(p - utf8));
        for (std::size_t i = from; i < out.size(); ++i)
            out[i] = static_cast<wchar_t>(utf8[i - from]);
    }
    if (lower) {
        for (std::size_t i = from; i < out.size(); ++i)
            out[i] = plat::FoldCase(out[i]);
    }
}

std::wstring Wide(const xmlChar* utf8) {
    std::wstring out;
    AppendWide(out, utf8);
    return out;
}

// The name as written: libxml2 keeps a namespace prefix apart from the local name.
std::wstring QualifiedName(const xmlNode* node) {
    std::wstring name;
    if (node->ns && node->ns->prefix) {
        AppendWide(name, node->ns->prefix);
        name += L':';
    }
    AppendWide(name, node->name);
    return name;
}

std::wstring AttributeValue(const xmlAttr* attr) {
    const xmlNode* first = attr->children;
    if (first && !first->next && first->type == XML_TEXT_NODE)
        return Wide(first->content);
    xmlChar* joined = xmlNodeListGetString(attr->doc, attr->children, 1);
    std::wstring value = Wide(joined);
    xmlFree(joined);
    return value;
}

bool IsBlank(const xmlChar* text) {
    if (!text)
        return true;
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n')
            return false;
    }
    return true;
}

void ApplyAttributeSet(XElement* element) {
    std::wstring name;
    if (!element->GetValue(L"attribute", name))
        return;
    static orvo::ContractCall<orvo::contract::AttributeSetGetAttributeByName> s_find;
    IXO* found = nullptr;
    if (auto find = s_find.Get())
        found = find(name.c_str());
    if (const auto* bundle = dynamic_cast<const orvo::AttributeBundle*>(found)) {
        element->MergeMissing(bundle->GetBundle());
        return;
    }
    ConfirmMsg(plat::Format(L"Attribute not found. [%s]", name), 0, 0);
}

void AppendLowered(std::wstring& out, const xmlChar* utf8) {
    AppendWide(out, utf8, true);
}

void IterateAttributes(const xmlNode* node, XElement* element) {
    std::size_t count = 0;
    for (const xmlNs* ns = node->nsDef; ns; ns = ns->next)
        ++count;
    for (const xmlAttr* attr = node->properties; attr; attr = attr->next)
        ++count;
    if (count == 0 && !element->GetAttributes())
        return;
    element->ReserveAttributes(count);
    // Namespace declarations are attributes as far as screen authors are concerned.
    for (const xmlNs* ns = node->nsDef; ns; ns = ns->next) {
        std::wstring key = L"xmlns";
        if (ns->prefix) {
            key += L':';
            AppendLowered(key, ns->prefix);
        }
        element->SetLoweredValue(std::move(key), Wide(ns->href));
    }
    for (const xmlAttr* attr = node->properties; attr; attr = attr->next) {
        std::wstring key;
        if (attr->ns && attr->ns->prefix) {
            AppendLowered(key, attr->ns->prefix);
            key += L':';
        }
        AppendLowered(key, attr->name);
        element->SetLoweredValue(std::move(key), AttributeValue(attr));
    }
    ApplyAttributeSet(element);
}

// Walks one DOM node. `slot` is where an element made for this node goes; children go
// under the element now in the slot, each following the previous one's sibling link. A
// "_" element makes no element: it gives its attributes to the parent, and whatever it
// holds joins the parent in its place, as if it were not there. Each child is freed as soon
// as it is read, while it is still in the cache: a big page then never holds both whole
// trees at once, and the new elements reuse the DOM's memory. libxml2 caps nesting depth,
// so the recursion depth here is bounded.
void IterateChildNodes(xmlNode* node, XElement* parent, XElement** slot) {
    XElement* made = nullptr;
    switch (node->type) {
    case XML_ELEMENT_NODE:
        if (node->name && node->name[0] == '_' && !(node->ns && node->ns->prefix)) {
            if (parent)
                IterateAttributes(node, parent);
        } else {
            made = new XElement(QualifiedName(node), parent);
            *slot = made;
            IterateAttributes(node, made);
        }
        break;
    case XML_TEXT_NODE:
        // White space between elements is layout, not content.
        if (parent && !IsBlank(node->content))
            parent->SetText(Wide(node->content));
        break;
    default:
        break; // comments, processing instructions, CDATA, DTD nodes make nothing
    }
    if (node->type != XML_ELEMENT_NODE && node->type != XML_DOCUMENT_NODE)
        return;
    XElement* childParent = made ? made : parent;
    XElement** childSlot = made ? made->FirstChildSlot() : slot;
    while (xmlNode* child = node->children) {
        IterateChildNodes(child, childParent, childSlot);
        // A "_" child may have left several elements: the next one goes after the last.
        while (*childSlot)
            childSlot = (*childSlot)->NextSiblingSlot();
        xmlUnlinkNode(child);
        xmlFreeNode(child);
    }
}

bool HasUtf8Bom(std::string_view bytes) {
    return bytes.size() >= 3 && std::memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0;
}

bool DeclaresEncoding(std::string_view bytes) {
    std::string_view head = bytes.substr(0, 200);
    return head.starts_with("<?xml") &&
           head.substr(0, head.find("?>")).find("encoding") != std::string_view::npos;
}

// Bytes are fed to libxml2 in chunks: a whole-buffer parse refuses inputs above 10 MB.
struct ChunkReader {
    std::string_view rest;

    static int Read(void* context, char* buffer, int length) {
        auto* self = static_cast<ChunkReader*>(context);
        std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(length), self->rest.size());
        if (n > 0)
            std::memcpy(buffer, self->rest.data(), n);
        self->rest.remove_prefix(n);
        return static_cast<int>(n);
    }
    static int Close(void*) { return 0; }
};

// Compact text nodes only change how libxml2 stores short texts; the tree is read once and
// never modified, so the outcome is the same and the parse allocates less.
xmlDoc* ReadDocument(std::string_view bytes, const char* encoding) {
    ChunkReader reader{bytes};
    return xmlReadIO(&ChunkReader::Read,
                     &ChunkReader::Close,
                     &reader,
                     nullptr,
                     encoding,
                     XML_PARSE_NONET | XML_PARSE_COMPACT);
}

} // namespace

ORVO_DISPATCH(XMLParser,
              IXO,
              ORVO_PROVIDE(orvo::contract::ParserDoParse, DoParse),
              ORVO_PROVIDE(orvo::contract::ParserLastError, LastError))

int XMLParser::Fail(std::wstring reason) {
    m_lastError = std::move(reason);
    return 0;
}

int XMLParser::DoParse(const wchar_t* path, XElement** root) {
    if (!path || !root)
        return Fail(L"no file named");
    std::wstring resolved = plat::ResolvePath(path);
    if (!plat::IsRegularFile(resolved))
        return Fail(L"there is no such file");
    std::string bytes;
    if (!plat::ReadFileBytes(resolved, bytes))
        return Fail(L"the file cannot be read");
    return ParseMemory(bytes, root);
}

int XMLParser::ParseMemory(std::string_view bytes, XElement** root) {
    if (!root)
        return Fail(L"no tree to fill");
    m_lastError.clear();
    orvo::EnsureLibxmlReady();
    // A byte-order mark decides the encoding even when the declaration names another one.
    xmlDoc* doc =
        HasUtf8Bom(bytes) ? ReadDocument(bytes.substr(3), "UTF-8") : ReadDocument(bytes, nullptr);
    // Files saved by Windows editors without a declaration are in the ANSI code page.
    if (!doc && !HasUtf8Bom(bytes) && !DeclaresEncoding(bytes)) {
        // The first attempt's error tells what is wrong unless the code page is the cure.
        const std::wstring firstError = orvo::FirstLibxmlError();
        doc = ReadDocument(bytes, plat::ProcessCodePage().c_str());
        if (!doc)
            return Fail(firstError.empty() ? L"the markup is not well-formed" : firstError);
    }
    if (!doc) {
        const std::wstring error = orvo::FirstLibxmlError();
        return Fail(error.empty() ? L"the markup is not well-formed" : error);
    }
    XElement* tree = nullptr;
    IterateChildNodes(reinterpret_cast<xmlNode*>(doc), nullptr, &tree);
    xmlFreeDoc(doc);
    if (!tree)
        return Fail(L"there is no element in it");
    *root = tree;
    return 1;
}
