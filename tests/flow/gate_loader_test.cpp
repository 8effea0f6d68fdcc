// Gate walks over pages that loaders load from files: the pre-apply walk switches a loader's
// page to suit the gate element (and the loaders inside that page in turn), and the apply walk
// then reaches the objects of the pages shown now.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/loader.h"
#include "gate_page.h"
#include "platform/base/nocase.h"
#include "platform/base/text.h"
#include "support/fixture_file.h"
#include "support/scoped_registration.h"

namespace {

// The project's path aliases: "gates" is the folder of the gate fixture screens.
class GatesProject : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int GetPath(const wchar_t* alias, std::wstring* out) {
        if (!plat::EqualsNoCase(alias ? alias : L"", L"gates"))
            return 0;
        if (out)
            *out = root + L"/screens/gates/";
        return 1;
    }
    std::wstring root;
};

} // namespace

ORVO_DISPATCH(GatesProject, IXO, ORVO_METHOD(GetPath))

namespace {

class GateLoaderTest : public test::GateTest {
protected:
    void SetUp() override {
        GateTest::SetUp();
        const char* fixtures = std::getenv("ORVO_FIXTURES");
        ASSERT_NE(fixtures, nullptr) << "run the tests through ctest";
        project.root = plat::FromUtf8(fixtures);
    }
    void OpenBoard() { Open(FixtureText("screens/gates/board.xml")); }
    void Choose(const wchar_t* code, const wchar_t* kind, const wchar_t* side) {
        Obj(L"codeEdit")->SetData(code);
        Obj(L"kindEdit")->SetData(kind);
        Obj(L"sideEdit")->SetData(side);
    }
    std::wstring Shown(const wchar_t* loader) const {
        XDO* page = Obj(loader) ? Obj(loader)->child() : nullptr;
        return page ? page->GetName() : L"";
    }

    GatesProject project;
    ScopedRegistration registered{L"Project", &project};
};

TEST_F(GateLoaderTest, ThePreApplyWalkSwitchesLoadedPagesBeforeTheApplyReachesThem) {
    OpenBoard();
    ASSERT_EQ(Shown(L"slot"), L"stock");
    ASSERT_EQ(Gate(L"quote")->TriggerVB(), 1);
    EXPECT_EQ(Data(L"stockCode"), L"005930") << "the page already shown keeps its objects";

    // A future and a sell order: the slot loads the futures page, whose own ticket loader
    // (just loaded with its first page) switches to the sell ticket in the same walk.
    Choose(L"101S6000", L"future", L"sell");
    ASSERT_EQ(Gate(L"quote")->TriggerVB(), 1);
    EXPECT_EQ(Shown(L"slot"), L"future");
    EXPECT_EQ(Shown(L"ticket"), L"sellTicket");
    EXPECT_EQ(Obj(L"stockCode"), nullptr) << "the page switched away from is gone";
    EXPECT_EQ(Data(L"futureCode"), L"101S6000");
    EXPECT_EQ(Data(L"sellCode"), L"101S6000");
    EXPECT_EQ(Obj(L"buyCode"), nullptr);

    // The same kind with the other side switches only the inner page.
    XDO* futurePage = Obj(L"slot")->child();
    Choose(L"101S3000", L"future", L"buy");
    ASSERT_EQ(Gate(L"quote")->TriggerVB(), 1);
    EXPECT_EQ(Obj(L"slot")->child(), futurePage);
    EXPECT_EQ(Shown(L"ticket"), L"buyTicket");
    EXPECT_EQ(Data(L"buyCode"), L"101S3000");
    EXPECT_EQ(Data(L"futureCode"), L"101S3000");

    // A kind no switch names leaves the page as it is.
    Choose(L"KR4101", L"option", L"buy");
    ASSERT_EQ(Gate(L"quote")->TriggerVB(), 1);
    EXPECT_EQ(Shown(L"slot"), L"future");
    EXPECT_EQ(Data(L"futureCode"), L"KR4101");

    Choose(L"000660", L"stock", L"buy");
    ASSERT_EQ(Gate(L"quote")->TriggerVB(), 1);
    EXPECT_EQ(Shown(L"slot"), L"stock");
    EXPECT_EQ(Data(L"stockCode"), L"000660");
    EXPECT_TRUE(Confirms().empty());
}

TEST_F(GateLoaderTest, ALoaderWithItsGateClosedKeepsTheWalksOutOfItsPage) {
    OpenBoard();
    auto* closed = orvo::KindOf<XLoader>(Obj(L"closed"));
    ASSERT_NE(closed, nullptr);
    ASSERT_EQ(Shown(L"closed"), L"closedPage");
    closed->SetGateClose(1);
    ASSERT_EQ(Gate(L"quote")->TriggerVB(), 1);
    EXPECT_EQ(Data(L"closedCode"), L"before");
    EXPECT_EQ(Data(L"stockCode"), L"005930") << "an open loader's page is reached";
    closed->SetGateClose(0);
    ASSERT_EQ(Gate(L"quote")->TriggerVB(), 1);
    EXPECT_EQ(Data(L"closedCode"), L"005930");
}

} // namespace
