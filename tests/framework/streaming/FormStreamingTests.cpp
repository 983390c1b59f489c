// Reading and writing form descriptions with the tests' own classes: every value kind
// round-trips, defaults stay out, references and Loaded wait for the whole form.
#include <gtest/gtest.h>

#include <memory>

#include "StreamingFixture.h"
#include "framework/streaming/FormReader.h"
#include "framework/streaming/FormWriter.h"

namespace hx::test {
namespace {

class FormStreaming : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterSampleClasses();
        TItem::Log = &FLog;
    }
    void TearDown() override { TItem::Log = nullptr; }

    std::unique_ptr<TSampleForm> Read(const std::string& text)
    {
        auto form = std::make_unique<TSampleForm>(nullptr);
        ReadComponent(form.get(), text, "sample.hxf");
        return form;
    }

    std::vector<std::string> FLog;
};

// Every value kind, each away from its default, with nested children and a long binary.
const char* const kEveryKind =
    "object Sample1: TSampleForm\n"
    "  Size = -42\n"
    "  Flag = False\n"
    "  Shade = shDark\n"
    "  Marks = [mkBold, mkUnderline]\n"
    "  Caption = 'It''s ＭＳ Ｐゴシック'#13#10'next'\n"
    "  Color = $0080FF33\n"
    "  Cursor = crHandPoint\n"
    "  Charset = SHIFTJIS_CHARSET\n"
    "  Pen.Width = 3\n"
    "  Pen.Color = clBtnShadow\n"
    "  Pen.Name = ''\n"
    "  Pen.Marks = [mkItalic]\n"
    "  Focus = Item3\n"
    "  Data = {\n"
    "    89504E470D0A1A0A0000000D49484452000000010000000108060000001F15C4\n"
    "    89}\n"
    "  OnCreate = FormCreate\n"
    "  OnClose = FormClose\n"
    "  object Item1: TItem\n"
    "    Tag = 7\n"
    "    Buddy = Item3\n"
    "    object Item2: TItem\n"
    "      OnClick = ItemClick\n"
    "    end\n"
    "  end\n"
    "  object Item3: TItem\n"
    "    Tag = 2147483647\n"
    "  end\n"
    "end\n";

TEST_F(FormStreaming, ReadingThenWritingGivesTheSameText)
{
    auto form = Read(kEveryKind);
    EXPECT_EQ(WriteComponent(form.get()), kEveryKind);

    EXPECT_EQ(form->Size, -42);
    EXPECT_EQ(form->Shade, shDark);
    EXPECT_EQ(form->Marks, 0b101u);
    EXPECT_EQ(form->Caption, "It's ＭＳ Ｐゴシック\r\nnext");
    EXPECT_EQ(form->Color, 0x0080FF33);
    EXPECT_EQ(form->Cursor, -21);
    EXPECT_EQ(form->Charset, 128);
    EXPECT_EQ(form->Pen.Color, clBtnShadow);
    EXPECT_EQ(form->Pen.Name, "");
    EXPECT_EQ(form->Data.size(), 33u);
    EXPECT_EQ(form->Data.substr(1, 3), "PNG");
    ASSERT_EQ(form->ComponentCount(), 3);
    EXPECT_EQ(form->Focus, form->Components(2));
}

// A component without a name is written by its class alone and reads back unnamed.
TEST_F(FormStreaming, ComponentsWithoutANameAreWrittenByTheirClassAlone)
{
    const std::string text = "object TSampleForm\n"
                             "  object TItem\n"
                             "    Tag = 1\n"
                             "  end\n"
                             "  object Item2: TItem\n"
                             "  end\n"
                             "end\n";
    auto form = Read(text);
    EXPECT_EQ(form->Name(), "");
    ASSERT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(form->Components(0)->Name(), "");
    std::string written = WriteComponent(form.get());
    EXPECT_EQ(written.substr(written.find("  object TItem")), text.substr(text.find("  object TItem"))) << written;

    new TItem(form.get()); // made in code, never named
    written = WriteComponent(form.get());
    EXPECT_NE(written.find("  object Item2: TItem\n  end\n  object TItem\n  end\nend\n"), std::string::npos) << written;
    EXPECT_EQ(WriteComponent(Read(written).get()), written);
}

// Every cut and every stray character in a description that uses every value kind either
// reads or raises the located error: nothing else escapes, nothing crashes or leaks.
TEST_F(FormStreaming, DamagedDescriptionsFailCleanly)
{
    TItem::Log = nullptr;
    const std::string text = kEveryKind;
    const char strays[] = {'\'', '{', '}', '[', '=', '.', '#', '+', '-', '\n', '\xff', 'x', '\0'};
    auto tryRead = [](const std::string& damaged) {
        auto form = std::make_unique<TSampleForm>(nullptr);
        try {
            ReadComponent(form.get(), damaged, "d.hxf");
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message().rfind("d.hxf:", 0), 0u) << e.Message();
        }
    };
    for (size_t cut = 0; cut < text.size(); ++cut)
        tryRead(text.substr(0, cut));
    for (size_t at = 0; at < text.size(); at += 3)
        for (char c : strays) {
            std::string damaged = text;
            damaged[at] = c;
            tryRead(damaged);
        }
}

TEST_F(FormStreaming, StringsWithControlCharactersAndPlusJoinsRead)
{
    auto form = Read("object F: TSampleForm\n"
                     "  Caption = 'a' +\n"
                     "    #9'b'#$41 + 'c'''\n"
                     "end\n");
    EXPECT_EQ(form->Caption, "a\tbAc'");
    EXPECT_EQ(QuoteString(form->Caption), "'a'#9'bAc'''");
    EXPECT_EQ(QuoteString(""), "''");
}

TEST_F(FormStreaming, DefaultsAreLeftOutAndPropertiesWithoutDefaultAlwaysWritten)
{
    TSampleForm form(nullptr);
    form.SetName("Fresh");
    // Flag (no default) and Caption (a string without default) are written although
    // they hold their initial values; everything else equals its default.
    EXPECT_EQ(WriteComponent(&form), "object Fresh: TSampleForm\n"
                                     "  Flag = False\n"
                                     "  Caption = ''\n"
                                     "end\n");
    form.Pen.Width = 2;
    form.Color = clBtnFace; // the default, still left out
    EXPECT_EQ(WriteComponent(&form, "TOther"), "object Fresh: TOther\n"
                                               "  Flag = False\n"
                                               "  Caption = ''\n"
                                               "  Pen.Width = 2\n"
                                               "end\n");
}

TEST_F(FormStreaming, PropertiesKeepTheirDeclaredOrder)
{
    const TClassInfo* info = TClassInfo::Find("tsampleform");
    ASSERT_NE(info, nullptr);
    std::vector<std::string> names;
    for (const TPropInfo& p : info->Properties())
        names.push_back(p.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Size", "Flag", "Shade", "Marks", "Caption", "Color", "Cursor",
                                               "Charset", "Pen", "Focus", "Data", "OnCreate", "OnClose"}));
    EXPECT_EQ(ClassInfoOf(static_cast<TObject*>(nullptr)), nullptr);

    // A class re-publishes inherited properties in an order of its own.
    struct TReordered : TSampleForm {
        using TSampleForm::TSampleForm;
    };
    const TClassInfo* re = TClassInfo::Of<TReordered>("TReordered", info)
                               .Inherit("Color", "Size")
                               .Int("Extra", [](TReordered&) { return 1; }, [](TReordered&, int) {})
                               .Inherit("OnCreate");
    names.clear();
    for (const TPropInfo& p : re->Properties())
        names.push_back(p.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Color", "Size", "Extra", "OnCreate"}));
    EXPECT_THROW(TClassInfo::Of<TReordered>("TReordered", info).Inherit("Missing"), EPropertyError);
    EXPECT_THROW(TClassInfo::Of<TReordered>("TReordered", std::string("TNoSuchClass")), EPropertyError);
}

TEST_F(FormStreaming, PropertiesApplyInListedOrderAfterTheParentIsSet)
{
    auto form = Read("object F: TSampleForm\n"
                     "  object A: TItem\n"
                     "    Tag = 1\n"
                     "    object B: TItem\n"
                     "      Tag = 2\n"
                     "      Tag = 3\n"
                     "    end\n"
                     "  end\n"
                     "end\n");
    EXPECT_EQ(FLog, (std::vector<std::string>{"Tag A parent F", "Tag B parent A", "Tag B parent A", "Loaded F",
                                              "Loaded A", "Loaded B"}));
    auto* b = static_cast<TItem*>(form->Components(1));
    EXPECT_EQ(b->Owner(), form.get());
    EXPECT_EQ(b->Tag(), 3);
}

TEST_F(FormStreaming, ReferencesResolveAfterTheWholeFormAndBeforeLoaded)
{
    auto form = Read("object F: TSampleForm\n"
                     "  Focus = Later\n"
                     "  object Early: TItem\n"
                     "    Buddy = Later\n"
                     "  end\n"
                     "  object Later: TItem\n"
                     "    Tag = 5\n"
                     "    Buddy = nil\n"
                     "  end\n"
                     "end\n");
    EXPECT_EQ(FLog, (std::vector<std::string>{"Tag Later parent F", "Buddy Early = Later", "Buddy Later = nil",
                                              "Loaded F", "Loaded Early", "Loaded Later"}));
    EXPECT_EQ(form->Focus, form->FindComponent("Later"));
    for (int i = 0; i < form->ComponentCount(); ++i)
        EXPECT_FALSE(form->Components(i)->IsLoading());
    EXPECT_FALSE(form->IsLoading());
}

TEST_F(FormStreaming, HandlersBindByNameToTheRootForm)
{
    auto form = Read("object F: TSampleForm\n"
                     "  OnCreate = formcreate\n"
                     "  OnClose = FormClose\n"
                     "  object I: TItem\n"
                     "    OnClick = ItemClick\n"
                     "  end\n"
                     "end\n");
    ASSERT_TRUE(form->OnCreate.Assigned());
    EXPECT_EQ(form->OnCreate.Name(), "FormCreate");
    form->OnCreate(form.get());
    TCloseAction action = caHide;
    form->OnClose(form.get(), action);
    EXPECT_EQ(action, caFree);
    auto* item = static_cast<TItem*>(form->Components(0));
    item->OnClick(item);
    EXPECT_EQ(form->Calls, (std::vector<std::string>{"FormCreate", "FormClose", "ItemClick I"}));
}

TEST_F(FormStreaming, AFallbackBindsHandlersTheMethodTableLacks)
{
    TSampleForm form(nullptr);
    std::vector<std::string> called;
    TFormReader reader;
    reader.SetFallbackHandler([&](const std::string& name) { return [&called, name] { called.push_back(name); }; });
    reader.Read(&form,
                "object F: TMainForm1\n  OnClose = Whatever\n  OnCreate = FormCreate\nend\n", "f.hxf");
    EXPECT_EQ(reader.RootClassName(), "TMainForm1");
    TCloseAction action = caHide;
    form.OnClose(&form, action);
    form.OnCreate(&form);
    EXPECT_EQ(called, std::vector<std::string>{"Whatever"});
    EXPECT_EQ(form.Calls, std::vector<std::string>{"FormCreate"});
    EXPECT_EQ(WriteComponent(&form, reader.RootClassName()),
              "object F: TMainForm1\n  Flag = False\n  Caption = ''\n  OnCreate = FormCreate\n  OnClose = Whatever\nend\n");
}

TEST_F(FormStreaming, RegistryFindsClassesAndListsPalettePages)
{
    ASSERT_NE(FindClass("titem"), nullptr);
    EXPECT_EQ(FindClass("TItem")->Info->Name(), "TItem");
    EXPECT_EQ(FindClass("TNothing"), nullptr);
    EXPECT_THROW(GetClass("TNothing"), EClassNotFound);
    RegisterComponents("Samples", {"TItem", "TSampleForm"});
    RegisterComponents("Samples", {"titem"});
    const TPalettePage* page = nullptr;
    for (const TPalettePage& p : PalettePages())
        if (p.Name == "Samples")
            page = &p;
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Classes, (std::vector<std::string>{"TItem", "TSampleForm"}));
    EXPECT_THROW(RegisterComponents("Samples", {"TNothing"}), EClassNotFound);

    // Registering and listing in one step, as a widget unit's Register does.
    struct TExtra : TItem {
        using TItem::TItem;
        const char* ClassName() const override { return "TExtra"; }
    };
    RegisterComponents("More", {ComponentClass<TExtra>(TClassInfo::Of<TExtra>("TExtra", "TItem").InheritAll())});
    ASSERT_NE(FindClass("TExtra"), nullptr);
    auto owner = std::make_unique<TSampleForm>(nullptr);
    TComponent* extra = FindClass("TExtra")->Create(owner.get());
    EXPECT_STREQ(extra->ClassName(), "TExtra");
    EXPECT_EQ(PalettePages().back().Name, "More");
    EXPECT_EQ(PalettePages().back().Classes, std::vector<std::string>{"TExtra"});
}

} // namespace
} // namespace hx::test
