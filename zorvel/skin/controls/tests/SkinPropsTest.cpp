// Published properties by name: every kind, missing names, registered base classes.
#include "SkinProps.h"

#include <gtest/gtest.h>

#include "forms/TypInfo.h"

namespace {

struct Part : TPersistent {};
struct OtherPart : TPersistent {};

struct Gadget : TComponent {
  using TComponent::TComponent;
  long long size = 7;
  bool flat = true;
  long long layout = 2;
  std::string caption = "ok";
  std::wstring title = L"wide";
  Part part;
  std::string readOnly = "fixed";
};
struct Knob : Gadget {  // registered below Gadget, with one property more
  using Gadget::Gadget;
  long long turns = 3;
};
struct Unregistered : Knob {  // finds what its registered bases publish
  using Knob::Knob;
};

// clang-format off
void Register() {
  static const bool done = [] {
    TPublisher<Gadget>(RegisterClassType<Gadget>("TGadget", ""))
        .Int("Size", [](Gadget* g) { return g->size; }, [](Gadget* g, long long v) { g->size = v; })
        .Bool("Flat", [](Gadget* g) { return g->flat; }, [](Gadget* g, bool v) { g->flat = v; })
        .Enum("Layout", {"lyLeft", "lyRight", "lyBottom"}, [](Gadget* g) { return g->layout; },
              [](Gadget* g, long long v) { g->layout = v; })
        .Str("Caption", [](Gadget* g) { return g->caption; },
             [](Gadget* g, const std::string& v) { g->caption = v; })
        .WStr("Title", [](Gadget* g) { return g->title; },
              [](Gadget* g, const std::wstring& v) { g->title = v; })
        .Obj("Part", [](Gadget* g) { return &g->part; })
        .Str("ReadOnly", [](Gadget* g) { return g->readOnly; });
    TPublisher<Knob>(RegisterClassType<Knob>("TKnob", "TGadget"))
        .Int("Turns", [](Knob* k) { return k->turns; });
    return true;
  }();
  (void)done;
}
// clang-format on

TEST(SkinProps, ReadsEachKindAndMissesQuietly) {
  Register();
  Unregistered u(nullptr);
  Gadget g(nullptr);
  // clang-format off
  const struct {
    TObject* object;
    const char* name;
    long long ord;
    const char* enumName;
    const wchar_t* wide;
  } cases[] = {
      {&g, "Size", 7, "", L""},         {&g, "sIZE", 7, "", L""},  // names without regard to case
      {&g, "Flat", -1, "True", L""},    {&g, "Layout", -1, "lyBottom", L""},
      {&g, "Caption", -1, "", L"ok"},   {&g, "Title", -1, "", L"wide"},
      {&g, "Part", -1, "", L""},        {&g, "Missing", -1, "", L""},
      {&g, "Turns", -1, "", L""},       {&u, "Turns", 3, "", L""},  // the most derived class's
      {&u, "Size", 7, "", L""},         {nullptr, "Size", -1, "", L""},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(GetOrdPropByName(c.object, c.name), c.ord) << c.name;
    EXPECT_EQ(GetEnumPropByName(c.object, c.name), c.enumName) << c.name;
    EXPECT_EQ(GetWidePropByName(c.object, c.name), c.wide) << c.name;
  }
  EXPECT_EQ(GetObjectPropByName<Part>(&g, "Part"), &g.part);
  EXPECT_EQ(GetObjectPropByName<TPersistent>(&u, "part"), &u.part);
  EXPECT_EQ(GetObjectPropByName<OtherPart>(&g, "Part"), nullptr);  // not of the class asked for
  EXPECT_EQ(GetObjectPropByName(&g, "Size"), nullptr);
  EXPECT_EQ(GetObjectPropByName(nullptr, "Part"), nullptr);
  EXPECT_TRUE(HasPropByName(&u, "flat"));
  EXPECT_FALSE(HasPropByName(&g, "Turns"));
}

TEST(SkinProps, WritesFromTextOrRaises) {
  Register();
  Knob k(nullptr);
  SetPropByName(&k, "Size", "42");
  EXPECT_EQ(k.size, 42);
  SetPropByName(&k, "size", "$10");  // StrToInt reads hexadecimal too
  EXPECT_EQ(k.size, 16);
  SetPropByName(&k, "Flat", "false");  // value names without regard to case
  EXPECT_FALSE(k.flat);
  SetPropByName(&k, "Layout", "LYLEFT");
  EXPECT_EQ(k.layout, 0);
  SetPropByName(&k, "Caption", "new");
  EXPECT_EQ(k.caption, "new");
  SetPropByName(&k, "Title", "abc");
  EXPECT_EQ(k.title, L"abc");
  // Nothing happens to what cannot be written from text.
  for (const char* name : {"ReadOnly", "Turns", "Part", "Missing"}) SetPropByName(&k, name, "9");
  SetPropByName(nullptr, "Size", "1");
  EXPECT_EQ(k.readOnly, "fixed");
  EXPECT_EQ(k.turns, 3);
  EXPECT_THROW(SetPropByName(&k, "Size", "4x"), EConvertError);
  EXPECT_THROW(SetPropByName(&k, "Layout", "lyTop"), EConvertError);
  EXPECT_EQ(k.size, 16);
  EXPECT_EQ(k.layout, 0);
}

}  // namespace
