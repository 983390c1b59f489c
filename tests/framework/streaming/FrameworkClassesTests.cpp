// The framework's own classes through their published properties: a main-window-like
// description builds controls on the form, menu items in their menu, a timer; it writes
// back as it was read.
#include <gtest/gtest.h>

#include <memory>

#include "framework/graphics/Bitmap.h"
#include "framework/streaming/ClassRegistry.h"
#include "framework/runtime/Control.h"
#include "framework/runtime/GraphicControl.h"
#include "framework/runtime/Form.h"
#include "framework/streaming/FormReader.h"
#include "framework/streaming/FormWriter.h"
#include "framework/streaming/FrameworkClasses.h"
#include "framework/runtime/Menus.h"
#include "framework/services/Timer.h"

namespace hx {
namespace {

// A form class with a method table, as an application's form declares one.
class TSampleMain : public TForm {
public:
    using TForm::TForm;
    const char* ClassName() const override { return "TSampleMain"; }
    void FormCreate(TObject*) { ++Created; }
    void FormClose(TObject*, TCloseAction&) {}
    void N4Click(TObject*) { ++Clicked; }
    int Created = 0;
    int Clicked = 0;
};

// A graphic control that owns a bitmap, streamed as Glyph.Data.
class TGlyphBox : public TGraphicControl {
public:
    explicit TGlyphBox(TComponent* owner) : TGraphicControl(owner) {}
    const char* ClassName() const override { return "TGlyphBox"; }
    TBitmap* Glyph() { return &FGlyph; }

private:
    TBitmap FGlyph;
};

class FrameworkClasses : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterFrameworkClasses();
        TClassInfo::Of<TSampleMain>("TSampleMain", "TForm")
            .InheritAll()
            .Method("FormCreate", &TSampleMain::FormCreate)
            .Method("FormClose", &TSampleMain::FormClose)
            .Method("N4Click", &TSampleMain::N4Click);
        RegisterClass<TGlyphBox>(TClassInfo::Of<TGlyphBox>("TGlyphBox", "TGraphicControl")
                                     .Inherit("Left", "Top", "Width", "Height")
                                     .Object("Glyph", &TGlyphBox::Glyph, "TBitmap"));
    }
};

const char* const kMainForm =
    "object MainForm1: TSampleMain\n"
    "  Left = 20\n"
    "  Top = 20\n"
    "  BorderStyle = bsToolWindow\n"
    "  Caption = 'Hexatint91'\n"
    "  ClientHeight = 228\n"
    "  ClientWidth = 448\n"
    "  Color = clWhite\n"
    "  Font.Charset = SHIFTJIS_CHARSET\n"
    "  Font.Color = clWindowText\n"
    "  Font.Height = -12\n"
    "  Font.Name = 'ＭＳ Ｐゴシック'\n"
    "  Font.Style = []\n"
    "  FormStyle = fsStayOnTop\n"
    "  OldCreateOrder = False\n"
    "  PopupMenu = PopupMenu1\n"
    "  OnClose = FormClose\n"
    "  OnCreate = FormCreate\n"
    "  PixelsPerInch = 96\n"
    "  TextHeight = 12\n"
    "  object Box1: TGraphicControl\n"
    "    Left = 4\n"
    "    Top = 54\n"
    "    Width = 40\n"
    "    Height = 20\n"
    "    Anchors = [akLeft, akBottom]\n"
    "    Caption = '#0000ff'\n"
    "    Color = clBlue\n"
    "    Cursor = crHandPoint\n"
    "    Font.Charset = SHIFTJIS_CHARSET\n"
    "    Font.Color = clWhite\n"
    "    Font.Height = -11\n"
    "    Font.Name = 'ＭＳ Ｐゴシック'\n"
    "    Font.Style = [fsBold, fsItalic]\n"
    "    Hint = 'RGB(0,0,255)'\n"
    "    ParentColor = False\n"
    "    ParentFont = False\n"
    "    ParentShowHint = False\n"
    "    ShowHint = True\n"
    "    OnClick = N4Click\n"
    "  end\n"
    "  object PopupMenu1: TPopupMenu\n"
    "    object N4: TMenuItem\n"
    "      Caption = '常に手前に表示(&S)'\n"
    "      Checked = True\n"
    "      OnClick = N4Click\n"
    "    end\n"
    "    object N5: TMenuItem\n"
    "      Caption = '-'\n"
    "      object N6: TMenuItem\n"
    "        Caption = 'インフォメーション(&I)...'\n"
    "      end\n"
    "    end\n"
    "  end\n"
    "  object Timer1: TTimer\n"
    "    Enabled = False\n"
    "    Interval = 16\n"
    "  end\n"
    "end\n";

TEST_F(FrameworkClasses, AMainFormDescriptionBuildsAndWritesBack)
{
    auto form = std::make_unique<TSampleMain>(nullptr);
    ReadComponent(form.get(), kMainForm, "Main.form");

    EXPECT_EQ(form->Name(), "MainForm1");
    EXPECT_EQ(form->ClientWidth(), 448);
    EXPECT_EQ(form->ClientHeight(), 228);
    EXPECT_EQ(form->Color(), clWhite);
    EXPECT_EQ(form->Font()->Name(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(form->Font()->Charset(), SHIFTJIS_CHARSET);
    EXPECT_EQ(form->FormStyle(), fsStayOnTop);
    EXPECT_EQ(form->BorderStyle(), bsToolWindow);
    EXPECT_EQ(form->TextHeight(), 12);

    auto* box = dynamic_cast<TGraphicControl*>(form->FindComponent("Box1"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Parent(), form.get());
    EXPECT_EQ(box->Cursor(), crHandPoint);
    EXPECT_EQ(box->Anchors(), akLeft | akBottom);
    EXPECT_EQ(box->Font()->Style(), fsBold | fsItalic);
    EXPECT_TRUE(box->ShowHint());

    auto* menu = dynamic_cast<TPopupMenu*>(form->FindComponent("PopupMenu1"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(form->PopupMenu(), menu);
    ASSERT_EQ(menu->Items()->Count(), 2);
    EXPECT_TRUE(menu->Items()->Items(0)->Checked());
    EXPECT_EQ(menu->Items()->Items(1)->Items(0)->Name(), "N6");
    menu->Items()->Items(0)->Click();
    box->OnClick(box);
    EXPECT_EQ(form->Clicked, 2);
    EXPECT_EQ(form->Created, 0); // OnCreate waits for AfterConstruction

    auto* timer = dynamic_cast<TTimer*>(form->FindComponent("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->Interval(), 16);
    EXPECT_FALSE(timer->Running());

    EXPECT_EQ(WriteComponent(form.get()), kMainForm);
}

// Aligned controls are laid out once the whole description is read, from their stored
// bounds. Here the stored order (B left of A at the right edge) is the opposite of the
// order in which they are read; laying each out as it arrived used to swap them.
TEST_F(FrameworkClasses, AlignedControlsReadBackWhereTheyWereWritten)
{
    const std::string text = "object F: TForm\n"
                             "  ClientWidth = 120\n"
                             "  ClientHeight = 60\n"
                             "  object B: TSpeedButton\n"
                             "    Left = -103\n"
                             "    Top = 0\n"
                             "    Width = 23\n"
                             "    Height = 60\n"
                             "    Align = alRight\n"
                             "  end\n"
                             "  object A: TWinControl\n"
                             "    Left = -80\n"
                             "    Top = 0\n"
                             "    Width = 200\n"
                             "    Height = 60\n"
                             "    Align = alRight\n"
                             "  end\n"
                             "end\n";
    TForm form(nullptr);
    ReadComponent(&form, text, "Aligned.form");
    const auto* b = dynamic_cast<TControl*>(form.FindComponent("B"));
    const auto* a = dynamic_cast<TControl*>(form.FindComponent("A"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->Left(), -80);
    EXPECT_EQ(b->Left(), -103);
    const std::string written = WriteComponent(&form);
    EXPECT_EQ(written.substr(written.find("  object B")), text.substr(text.find("  object B")));

    form.SetClientWidth(140); // and still realigns on a resize after loading
    EXPECT_EQ(a->Left(), -60);
    EXPECT_EQ(b->Left(), -83);
}

TEST_F(FrameworkClasses, ControlsPublishTheirPropertiesInOrder)
{
    std::vector<std::string> names;
    for (const TPropInfo& p : TClassInfo::Find("TGraphicControl")->Properties())
        names.push_back(p.Name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "Name", "Left", "Top", "Width", "Height", "Action", "Align", "Anchors", "BiDiMode",
                         "Caption", "Color", "Constraints", "Cursor", "DragCursor", "DragMode", "Enabled",
                         "Font", "Hint", "ParentBiDiMode", "ParentColor",
                         "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "Tag", "Visible", "OnClick",
                         "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove",
                         "OnMouseUp", "OnStartDrag"}));
    const TPropInfo* drag = TClassInfo::Find("TControl")->FindProperty("DragCursor");
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->Kind, TTypeKind::Cursor);
    EXPECT_EQ(drag->Default, crDrag);
    EXPECT_NE(FindClass("TTimer"), nullptr);
}

TEST_F(FrameworkClasses, ABitmapStreamsAsImageBytes)
{
    auto form = std::make_unique<TSampleMain>(nullptr);
    form->SetName("F");
    auto* box = new TGlyphBox(form.get());
    box->SetName("G");
    box->SetParent(form.get());
    box->Glyph()->SetPixelFormat(pf32bit);
    box->Glyph()->SetSize(2, 1);
    static_cast<std::uint32_t*>(box->Glyph()->ScanLine(0))[0] = 0x00FF8000;
    const std::string text = WriteComponent(form.get());
    EXPECT_NE(text.find("    Glyph.Data = {\n      89504E47"), std::string::npos) << text;

    auto copy = std::make_unique<TSampleMain>(nullptr);
    ReadComponent(copy.get(), text, "copy.form");
    auto* glyph = static_cast<TGlyphBox*>(copy->FindComponent("G"))->Glyph();
    EXPECT_EQ(glyph->Width(), 2);
    EXPECT_EQ(glyph->PixelWord(0, 0), 0x00FF8000u);
    EXPECT_EQ(WriteComponent(copy.get()), text);
}

TEST_F(FrameworkClasses, NestingErrorsNameTheirPlace)
{
    struct TCase {
        const char* Text;
        const char* Error;
    };
    const TCase cases[] = {
        {"object F: TSampleMain\n  object T: TTimer\n    object B: TGraphicControl\n    end\n  end\nend\n",
         "n.form:3:5: Control B cannot be placed on T, which holds no controls"},
        {"object F: TSampleMain\n  object B: TWinControl\n    object I: TMenuItem\n    end\n  end\nend\n",
         "n.form:3:5: Menu item I must be placed in a menu or a menu item"},
        {"object F: TSampleMain\n  PopupMenu = F\nend\n", "n.form:2:15: F is not a TPopupMenu"},
        {"object F: TSampleMain\n  OnClose = N4Click\nend\n",
         "n.form:2:13: Handler N4Click does not fit event OnClose (TCloseEvent)"},
        {"object F: TSampleMain\n  FormStyle = bsToolWindow\nend\n",
         "n.form:2:15: bsToolWindow is a value of TFormBorderStyle, not of TFormStyle"},
    };
    for (const TCase& c : cases) {
        auto form = std::make_unique<TSampleMain>(nullptr);
        try {
            ReadComponent(form.get(), c.Text, "n.form");
            ADD_FAILURE() << c.Text;
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), c.Error);
        }
    }
}

} // namespace
} // namespace hx
