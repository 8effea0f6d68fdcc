// kestrel: the terminal host. For now it loads a project's configuration and its start page
// and reports what it found; the window host comes with the UI.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/element.h"
#include "core/main_man.h"
#include "core/xml_parser.h"
#include "host/tree_dump.h"
#include "platform/base/event_loop.h"
#include "platform/base/path.h"
#include "platform/base/text.h"

namespace {

constexpr const char* kVersion = "kestrel 0.1.0";

void Usage() {
    std::puts("usage: kestrel [--version] [--dump-tree] [PROJECT_FOLDER | FILE.xml]\n"
              "  PROJECT_FOLDER holds Project.xaml (default: the current folder)");
}

std::unique_ptr<XElement> Load(XMLParser& parser, const std::wstring& path) {
    XElement* root = nullptr;
    if (!parser.DoParse(path.c_str(), &root)) {
        std::fprintf(stderr, "kestrel: cannot load %s\n", plat::ToUtf8(path).c_str());
        return nullptr;
    }
    return std::unique_ptr<XElement>(root);
}

void Print(const std::wstring& title, const XElement* tree, bool dump) {
    std::printf("%s: <%s>\n", plat::ToUtf8(title).c_str(), plat::ToUtf8(tree->GetTagName()).c_str());
    if (dump)
        std::fputs(plat::ToUtf8(kestrel::DumpTree(tree)).c_str(), stdout);
}

int Open(XMLParser& parser, const std::wstring& target, bool dump) {
    if (plat::IsRegularFile(target)) {
        auto tree = Load(parser, target);
        if (!tree)
            return 1;
        Print(target, tree.get(), true);
        return 0;
    }
    std::wstring projectFile = plat::JoinPath(target, L"Project.xaml");
    auto project = Load(parser, projectFile);
    if (!project)
        return 1;
    Print(L"project " + plat::ResolvePath(projectFile), project.get(), dump);
    std::wstring startPage;
    if (!project->GetValue(L"StartPage", startPage) || startPage.empty()) {
        std::puts("no start page");
        return 0;
    }
    std::wstring pagePath = plat::JoinPath(target, startPage);
    auto page = Load(parser, pagePath);
    if (!page)
        return 1;
    Print(L"start page " + plat::ResolvePath(pagePath), page.get(), dump);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    bool dump = false;
    std::wstring target = L".";
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--version")) {
            std::puts(kVersion);
            return 0;
        }
        if (!std::strcmp(argv[i], "--help")) {
            Usage();
            return 0;
        }
        if (!std::strcmp(argv[i], "--dump-tree")) {
            dump = true;
        } else if (argv[i][0] == '-') {
            Usage();
            return 2;
        } else {
            target = plat::FromUtf8(argv[i]);
        }
    }

    auto* parser = dynamic_cast<XMLParser*>(IXO::GetIXO(L"Parser"));
    if (!parser)
        return 1;
    // The loop that posted messages and events travel through; headless until the UI.
    plat::QueueEventLoop loop;
    plat::EventLoop::Install(&loop);
    if (auto* mainMan = dynamic_cast<XMainMan*>(IXO::GetIXO(L"MainMan")))
        mainMan->InitializeIXO();
    const int status = Open(*parser, target, dump);
    loop.Pump();
    plat::EventLoop::Install(nullptr);
    return status;
}
