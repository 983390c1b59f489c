// Malformed descriptions: each gives one located error, builds nothing half-way that
// outlives the root, and never crashes (the suite runs under the address sanitizer).
#include <gtest/gtest.h>

#include <memory>

#include "StreamingFixture.h"
#include "framework/streaming/FormReader.h"

namespace hx::test {
namespace {

struct TMalformed {
    const char* What;
    std::string Text;
    const char* Error; // the whole message: file:line:column: text
};

std::string Nested(int depth)
{
    std::string text = "object F: TSampleForm\n";
    for (int i = 0; i < depth; ++i)
        text += "object I" + std::to_string(i) + ": TItem\n";
    for (int i = 0; i < depth; ++i)
        text += "end\n";
    return text + "end\n";
}

std::vector<TMalformed> Cases()
{
    const std::string head = "object F: TSampleForm\n";
    // Built by appending: GCC 12 misreads `string + '\0' + ...` as an overlapping copy.
    std::string withNul = head + "  Caption = 'a";
    withNul += '\0';
    withNul += "b'\nend\n";
    return {
        {"unterminated string", head + "  Caption = 'open\nend\n", "bad.hxf:2:13: Unterminated string"},
        {"missing end", head + "  object I: TItem\n  end\n", "bad.hxf:4:1: Missing 'end' of object F begun at line 1"},
        {"unknown property", head + "  Sise = 3\nend\n", "bad.hxf:2:3: Unknown property Sise of class TSampleForm"},
        {"unknown sub-property", head + "  Pen.Style = 3\nend\n", "bad.hxf:2:3: Unknown property Style of class TPen2"},
        {"enum value of another type", head + "  Shade = toCold\nend\n",
         "bad.hxf:2:11: toCold is a value of TTone, not of TShade"},
        {"unknown enum value", head + "  Shade = shPale\nend\n", "bad.hxf:2:11: shPale is not a value of TShade"},
        {"set element of another type", head + "  Marks = [mkBold, shDark]\nend\n",
         "bad.hxf:2:20: shDark is a value of TShade, not of TMark"},
        {"missing component", head + "  Focus = Nobody\n  object I: TItem\n  end\nend\n",
         "bad.hxf:2:11: Component Nobody not found"},
        {"reference of the wrong class", head + "  Focus = F\nend\n", "bad.hxf:2:11: F is not a TItem"},
        {"handler not in the method table", head + "  OnCreate = FormDestroy\nend\n",
         "bad.hxf:2:14: Handler FormDestroy is not a method of TSampleForm"},
        {"handler of the wrong type", head + "  OnCreate = FormClose\nend\n",
         "bad.hxf:2:14: Handler FormClose does not fit event OnCreate (TNotifyEvent)"},
        {"unknown class", head + "  object X: TNothing\n  end\nend\n", "bad.hxf:2:13: Class TNothing not found"},
        {"duplicate name", head + "  object I: TItem\n  end\n  object i: TItem\n  end\nend\n",
         "bad.hxf:4:10: A component named i already exists"},
        {"bad integer", head + "  Size = 'ten'\nend\n", "bad.hxf:2:10: Invalid value for Size: Integer expected"},
        {"integer out of range", head + "  Size = 2147483648\nend\n", "bad.hxf:2:10: Integer out of range"},
        {"bad boolean", head + "  Flag = Yes\nend\n", "bad.hxf:2:10: Invalid value for Flag: True or False expected"},
        {"bad colour name", head + "  Color = clPink\nend\n", "bad.hxf:2:11: Invalid value for Color: clPink is not a TColor value"},
        {"object property without a dotted name", head + "  Pen = 1\nend\n",
         "bad.hxf:2:3: Property Pen is an object; set its properties (Pen.Name)"},
        {"odd binary", head + "  Data = {ABC}\nend\n", "bad.hxf:2:14: Odd number of hex digits in binary data"},
        {"unterminated binary", head + "  Data = {AB", "bad.hxf:2:10: Unterminated binary data"},
        {"missing equals", head + "  Size 3\nend\n", "bad.hxf:2:8: '=' expected but number found"},
        {"trailing garbage", head + "end\nend\n", "bad.hxf:3:1: Text after the end of the root object"},
        {"no object", "Size = 3\n", "bad.hxf:1:1: 'object' expected"},
        {"empty", "", "bad.hxf:1:1: 'object' expected"},
        {"NUL byte", withNul, "bad.hxf:2:15: NUL byte in form description"},
        {"invalid UTF-8", head + "  Caption = 'ＭＳ\xC3\x28'\nend\n", "bad.hxf:2:16: Invalid UTF-8 in form description"},
        {"overlong UTF-8", head + "  Caption = '\xC0\xAF'\nend\n", "bad.hxf:2:14: Invalid UTF-8 in form description"},
        {"stray character", head + "  Size = 3;\nend\n", "bad.hxf:2:11: Unexpected character ';'"},
        {"character code zero", head + "  Caption = #0\nend\n", "bad.hxf:2:13: Invalid character code"},
        {"100 000 nested objects", Nested(100000),
         "bad.hxf:1001:1: Objects nested deeper than 1000"},
    };
}

TEST(MalformedForm, EachErrorNamesFileLineAndColumn)
{
    RegisterSampleClasses();
    for (const TMalformed& c : Cases()) {
        SCOPED_TRACE(c.What);
        auto form = std::make_unique<TSampleForm>(nullptr);
        try {
            ReadComponent(form.get(), c.Text, "bad.hxf");
            ADD_FAILURE() << "no error";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), c.Error);
        }
        // Whatever was built stays with the root, which frees it; nothing is left loading.
        EXPECT_FALSE(form->IsLoading());
        for (int i = 0; i < form->ComponentCount(); ++i)
            EXPECT_FALSE(form->Components(i)->IsLoading());
    }
}

TEST(MalformedForm, ErrorsRaisedBySettersCarryTheValuesPosition)
{
    RegisterSampleClasses();
    TItem form(nullptr); // a root whose class does not declare what the text sets
    try {
        ReadComponent(&form, "object F: TSampleForm\n  Size = 1\nend\n", "x.hxf");
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "x.hxf:2:3: Unknown property Size of class TItem");
        EXPECT_EQ(e.Line(), 2);
        EXPECT_EQ(e.Column(), 3);
        EXPECT_EQ(e.FileName(), "x.hxf");
    }
    try {
        ReadComponent(&form, "object F: TItem\n  Name = '1abc'\nend\n", "x.hxf");
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "x.hxf:2:10: Cannot set Name: ''1abc'' is not a valid component name");
    }
}

} // namespace
} // namespace hx::test
