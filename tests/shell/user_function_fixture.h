#pragma once
// Screens that call the exported user functions through real "User.Run(orvo, ...)" and
// "Message.Run(orvo, ...)" actions. The suite links liborvo.so, so the module the actions
// load is the very library the screens live in.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/main_man.h"
#include "core/notice_man.h"
#include "core/object_lifetime.h"
#include "core/scr_man.h"
#include "core/xdo.h"
#include "core/xml_parser.h"
#include "nubra/registry_snapshot.h"
#include "platform/base/event_loop.h"
#include "platform/base/text.h"
#include "support/recording_presenter.h"

namespace orvo::test {

class UserFunctionTest : public ::testing::Test {
protected:
    void SetUp() override {
        registry = RegistrySnapshot::Take();
        previousPresenter = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
        plat::EventLoop::Install(&loop);
        auto* mainMan = dynamic_cast<XMainMan*>(IXO::GetIXO(L"MainMan"));
        ASSERT_TRUE(mainMan && mainMan->InitializeIXO());
    }
    void TearDown() override {
        for (XDO* opened : XScrMan::Instance().OpenedPages())
            if (opened != page.get())
                DestroyObject(opened);
        page.reset();
        loop.Pump();
        plat::EventLoop::Install(nullptr);
        XNoticeMan::Instance().SetPresenter(previousPresenter);
        registry.Restore();
    }

    // A screen: a library named "screen" over `body`.
    void Open(const std::string& body) {
        XMLParser parser;
        XElement* root = nullptr;
        ASSERT_TRUE(parser.ParseMemory("<lib Name=\"screen\">" + body + "</lib>", &root));
        page.reset(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
        ASSERT_TRUE(page);
    }
    XDO* Obj(const wchar_t* name) {
        XDO* found = page->GetObjByNameDown(name);
        EXPECT_TRUE(found) << "no object " << plat::ToUtf8(name);
        return found;
    }
    std::wstring Data(const wchar_t* name) {
        std::wstring value;
        if (XDO* found = Obj(name))
            found->GetData(&value);
        return value;
    }
    // Runs "User.Run(orvo, <call>)" on the named object.
    int Run(const wchar_t* on, const std::wstring& call) {
        XDO* caller = Obj(on);
        return caller ? caller->Action((L"User.Run(orvo, " + call + L")").c_str()) : -1;
    }
    // The first line of the confirmation at `index`: what a refused call says was wrong.
    std::wstring Told(std::size_t index) const {
        if (index >= notices.confirms.size())
            return L"<nothing told>";
        const std::wstring& text = notices.confirms[index].text;
        return text.substr(0, text.find(L'\n'));
    }
    std::vector<std::wstring> Confirms() const {
        std::vector<std::wstring> texts;
        for (const auto& confirmation : notices.confirms)
            texts.push_back(confirmation.text);
        return texts;
    }

    XDOPtr page;
    RecordingPresenter notices;
    plat::QueueEventLoop loop{[] { return std::int64_t{0}; }};

private:
    RegistrySnapshot registry;
    NoticePresenter* previousPresenter = nullptr;
};

} // namespace orvo::test
