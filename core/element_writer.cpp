// Writing an element tree back to markup (XElement::Save and Serialize).
#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <string>
#include <vector>

#include "core/element.h"
#include "core/libxml_setup.h"
#include "platform/base/path.h"
#include "platform/base/text.h"

namespace {

const xmlChar* Utf8(const std::string& s) {
    return reinterpret_cast<const xmlChar*>(s.c_str());
}

// Builds the DOM for `root` and its subtree (not its following siblings) without recursion.
xmlDoc* BuildDocument(const XElement* root) {
    xmlDoc* doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    struct Job {
        const XElement* element;
        xmlNode* domParent;
    };
    std::vector<Job> pending{{root, nullptr}};
    while (!pending.empty()) {
        Job job = pending.back();
        pending.pop_back();
        const XElement* e = job.element;
        std::string tag = plat::ToUtf8(e->GetTagName());
        xmlNode* node =
            xmlNewDocNode(doc, nullptr, Utf8(tag.empty() ? std::string("Element") : tag), nullptr);
        if (!e->GetText().empty())
            xmlNodeAddContent(node, Utf8(plat::ToUtf8(e->GetText())));
        if (const CMapStringToString* attrs = e->GetAttributes()) {
            for (const auto& [key, value] : *attrs)
                xmlNewProp(node, Utf8(plat::ToUtf8(key)), Utf8(plat::ToUtf8(value)));
        }
        if (job.domParent)
            xmlAddChild(job.domParent, node);
        else
            xmlDocSetRootElement(doc, node);
        // Children pushed in reverse so they are appended in chain order.
        std::vector<const XElement*> children;
        for (const XElement* c = e->GetFirstChild(); c; c = c->GetNextSibling())
            children.push_back(c);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.push_back({*it, node});
    }
    return doc;
}

} // namespace

std::string XElement::Serialize() const {
    orvo::EnsureLibxmlReady();
    xmlDoc* doc = BuildDocument(this);
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc, &buffer, &size, "UTF-8", 1);
    std::string out(reinterpret_cast<const char*>(buffer),
                    buffer ? static_cast<std::size_t>(size) : 0);
    xmlFree(buffer);
    xmlFreeDoc(doc);
    return out;
}

int XElement::Save(const wchar_t* path) const {
    if (!path || !*path)
        return 0;
    return plat::WriteFileBytes(plat::ResolvePath(path), Serialize()) ? 1 : 0;
}
