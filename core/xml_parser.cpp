#include "core/xml_parser.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>

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

// Reads the markup node by node and converts each element while libxml2's node for it is
// still in the cache; the reader frees the nodes behind it, so a big page never holds a whole
// markup tree. Compact text nodes only change how libxml2 stores short texts; an encoding
// given here outranks the one the markup declares. Malformed
// markup leaves `wellFormed` false and keeps nothing half-built.
XElement* ReadTree(std::string_view bytes, const char* encoding, bool& wellFormed) {
    wellFormed = false;
    ChunkReader chunks{bytes};
    xmlTextReaderPtr reader =
        xmlReaderForIO(&ChunkReader::Read,
                       &ChunkReader::Close,
                       &chunks,
                       nullptr,
                       encoding,
                       XML_PARSE_NONET | XML_PARSE_COMPACT | (encoding ? XML_PARSE_IGNORE_ENC : 0));
    if (!reader)
        return nullptr;
    XElement* tree = nullptr;
    // By depth: the element the nodes at that depth belong to, and where the next element
    // goes. A "_" element passes its own level on: what it holds joins its parent.
    struct Level {
        XElement* parent;
        XElement** slot;
    };
    std::vector<Level> levels{{nullptr, &tree}};
    bool include = false;     // an element the page loader expands
    bool declaration = false; // a library's parameter declaration
    int status = 0;
    while ((status = xmlTextReaderRead(reader)) == 1) {
        const int depth = xmlTextReaderDepth(reader);
        if (depth < 0 || static_cast<std::size_t>(depth) >= levels.size()) {
            status = -1;
            break;
        }
        levels.resize(static_cast<std::size_t>(depth) + 1);
        Level& level = levels.back();
        xmlNode* node = xmlTextReaderCurrentNode(reader);
        if (!node)
            continue;
        if (node->type == XML_TEXT_NODE) {
            // White space between elements is layout, not content.
            if (level.parent && !IsBlank(node->content))
                level.parent->SetText(Wide(node->content));
            continue;
        }
        if (node->type != XML_ELEMENT_NODE ||
            xmlTextReaderNodeType(reader) != XML_READER_TYPE_ELEMENT)
            continue; // ends of elements, comments, processing instructions, CDATA
        Level inner = level;
        if (node->name && node->name[0] == '_' && !(node->ns && node->ns->prefix)) {
            if (level.parent)
                IterateAttributes(node, level.parent);
        } else {
            while (*level.slot)
                level.slot = (*level.slot)->NextSiblingSlot();
            auto* made = new XElement(QualifiedName(node), level.parent);
            *level.slot = made;
            include =
                include || plat::EqualsNoCase(made->GetTagName(), std::wstring_view(L"Include"));
            declaration = declaration || made->IsParamDeclaration();
            IterateAttributes(node, made);
            inner = {made, made->FirstChildSlot()};
        }
        if (!xmlTextReaderIsEmptyElement(reader))
            levels.push_back(inner);
    }
    xmlFreeTextReader(reader);
    if (status != 0) {
        delete tree;
        return nullptr;
    }
    wellFormed = true;
    if (tree && !include)
        tree->MarkParsedWithoutInclude();
    if (tree && !declaration)
        tree->MarkParsedWithoutParamDeclaration();
    return tree;
}

// What is wrong with markup the reader refused. The reader names some faults poorly: an
// element still open at the end reads as "Extra content at the end of the document". A
// whole-document parse of the same bytes names them as screen authors expect ("Premature end
// of data in tag lib line 2"), and faults are rare enough to parse twice. Empty when that
// parse finds nothing.
std::wstring DescribeFault(std::string_view bytes, const char* encoding) {
    orvo::EnsureLibxmlReady(); // forgets the reader's error
    ChunkReader chunks{bytes};
    xmlDoc* doc =
        xmlReadIO(&ChunkReader::Read,
                  &ChunkReader::Close,
                  &chunks,
                  nullptr,
                  encoding,
                  XML_PARSE_NONET | XML_PARSE_COMPACT | (encoding ? XML_PARSE_IGNORE_ENC : 0));
    if (doc)
        xmlFreeDoc(doc);
    return orvo::FirstLibxmlError();
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
    const bool bom = HasUtf8Bom(bytes);
    const std::string_view markup = bom ? bytes.substr(3) : bytes;
    const char* encoding = bom ? "UTF-8" : nullptr;
    bool wellFormed = false;
    XElement* tree = ReadTree(markup, encoding, wellFormed);
    if (!wellFormed) {
        std::wstring error = orvo::FirstLibxmlError();
        if (std::wstring described = DescribeFault(markup, encoding); !described.empty())
            error = std::move(described);
        // Files saved by Windows editors without a declaration are in the ANSI code page;
        // when that is no cure either, the first attempt's fault is the one to tell.
        if (!bom && !DeclaresEncoding(bytes))
            tree = ReadTree(bytes, plat::ProcessCodePage().c_str(), wellFormed);
        if (!wellFormed)
            return Fail(error.empty() ? L"the markup is not well-formed" : error);
    }
    if (!tree)
        return Fail(L"there is no element in it");
    *root = tree;
    return 1;
}
