#include <gtest/gtest.h>

#include "forms/FormDesc.h"
#include "forms/TypInfo.h"

namespace {

TEST(FormDesc, ReadsTreeValuesAndLines) {
  const TComponentDesc d = ParseFormDesc(
      "# comment\n"
      "Main: TMain {\n"
      "  Caption = \"a \\\"b\\\" \\\\ \\x41\\r\\n\"  Width = -12\n"
      "  Icons = [biOne, \"two\", 3]\n"
      "  Font.Name = Arial\n"
      "  Child: TChild { Tag = 7  Inner: TLeaf {} }\n"
      "}\n");
  EXPECT_EQ(d.name, "Main");
  EXPECT_EQ(d.className, "TMain");
  ASSERT_EQ(d.props.size(), 4u);
  EXPECT_EQ(d.props[0].value.kind, TPropValue::String);
  EXPECT_EQ(d.props[0].value.text, "a \"b\" \\ A\r\n");
  EXPECT_EQ(d.props[0].line, 3);
  EXPECT_EQ(d.props[1].value.integer, -12);
  ASSERT_EQ(d.props[2].value.items.size(), 3u);
  EXPECT_EQ(d.props[2].value.items[0].kind, TPropValue::Ident);
  EXPECT_EQ(d.props[2].value.items[1].text, "two");
  EXPECT_EQ(d.props[2].value.items[2].integer, 3);
  EXPECT_EQ(d.props[3].name, "Font.Name");
  ASSERT_EQ(d.children.size(), 1u);
  EXPECT_EQ(d.children[0].line, 6);
  ASSERT_EQ(d.children[0].children.size(), 1u);
  EXPECT_EQ(d.children[0].children[0].className, "TLeaf");
}

TEST(FormDesc, BrokenTextNamesItsLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"", "line 1: expected a component name"},
      {"A: T {", "line 1: missing '}' of A"},
      {"A: T {}\nB: T {}", "line 2: text after the root component"},
      {"A T {}", "line 1: expected ':'"},
      {"A: T {\n X = \"open\n}", "line 2: unterminated string"},
      {"A: T {\n X = \"\\q\" }", "line 2: unknown escape \\q"},
      {"A: T {\n X = \"\\x4\" }", "line 2: bad \\x escape"},
      {"A: T {\n X = [[a]] }", "line 2: expected a value"},
      {"A: T {\n X = [a }", "line 2: expected a value"},
      {"A: T {\n X = [a", "line 2: missing ']'"},
      {"A: T {\n X = - }", "line 2: expected a number"},
      {"A: T {\n X = 99999999999999999999 }", "line 2: number out of range"},
      {"A: T {\n X }", "line 2: expected '=' or ':' after X"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      ParseFormDesc(c.text);
      ADD_FAILURE() << "accepted";
    } catch (const EFormDescError& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
  }
}

TEST(FormDesc, DeepNestingIsRefusedNotACrash) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "A" + std::to_string(i) + ": T {";
  EXPECT_THROW(ParseFormDesc(text), EFormDescError);
}

// A small class family to read descriptions into.
struct Box : TComponent {
  using TComponent::TComponent;
  int width = 0;
  std::string caption;
  std::vector<std::string> items;
  TNotifyEvent onClick;
  Box* parent = nullptr;
};
struct Button : Box {
  using Box::Box;
};

void RegisterBoxes() {
  static bool done = false;
  if (done) return;
  done = true;
  auto& box = RegisterComponentClass("TBox", "", [](TComponent* o) { return new Box(o); });
  box.Property("Width", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<Box*>(c)->width = int(ReadInteger(v));
  });
  box.Property("Caption", [](TComponent* c, const TPropValue& v, TReadContext& ctx) {
    static_cast<Box*>(c)->caption = ReadString(v, ctx);
  });
  box.Property("Items", [](TComponent* c, const TPropValue& v, TReadContext& ctx) {
    static_cast<Box*>(c)->items = ReadStrings(v, ctx);
  });
  box.Property("OnClick", [](TComponent* c, const TPropValue& v, TReadContext& ctx) {
    static_cast<Box*>(c)->onClick = ReadEvent<TNotifyEvent>(v, ctx);
  });
  RegisterComponentClass("TButton", "TBox", [](TComponent* o) { return new Button(o); });
  RegisterComponentClass("TRoot", "TBox");
}

struct Reading {
  Box root{nullptr};
  std::map<std::string, std::any> methods;
  std::vector<std::string> bound;
  int clicks = 0;
  TReadContext ctx;

  Reading() {
    RegisterBoxes();
    methods["Clicked"] = TNotifyEvent([this](TObject*) { ++clicks; });
    methods["Wrong"] = std::function<void(int)>([](int) {});
    ctx.Root = &root;
    ctx.ConvertText = [](const std::string& s) { return "<" + s + ">"; };
    ctx.SetParent = [](TComponent* c, TComponent* p) {
      static_cast<Box*>(c)->parent = static_cast<Box*>(p);
    };
    ctx.FindMethod = [this](const std::string& n) -> const std::any* {
      auto it = methods.find(n);
      return it == methods.end() ? nullptr : &it->second;
    };
    ctx.BindField = [this](const std::string& n, TComponent*) { bound.push_back(n); };
  }
  void Read(const std::string& text) { ReadComponents(ParseFormDesc(text), ctx); }
};

TEST(TypInfo, CreatesComponentsByClassAndSetsPropertiesByName) {
  Reading r;
  r.Read(
      "Form1: TRoot { width = 300  Caption = \"main\"\n"
      "  Panel: TBox { Items = [\"a\", \"b\"]\n"
      "    Ok: TButton { Width = 75  OnClick = Clicked } }\n"
      "}");
  EXPECT_EQ(r.root.Name, "Form1");
  EXPECT_EQ(r.root.width, 300);  // names without regard to case
  EXPECT_EQ(r.root.caption, "<main>");
  ASSERT_EQ(r.root.ComponentCount(), 2u);  // all owned by the root, in order
  auto* panel = dynamic_cast<Box*>(r.root.FindComponent("panel"));
  auto* ok = dynamic_cast<Button*>(r.root.FindComponent("Ok"));
  ASSERT_TRUE(panel && ok);
  EXPECT_EQ(panel->items, (std::vector<std::string>{"<a>", "<b>"}));
  EXPECT_EQ(panel->parent, &r.root);
  EXPECT_EQ(ok->parent, panel);
  EXPECT_EQ(ok->width, 75);  // inherited property
  ok->onClick(ok);
  EXPECT_EQ(r.clicks, 1);
  EXPECT_EQ(r.bound, (std::vector<std::string>{"Ok", "Panel"}));
}

TEST(TypInfo, BadDescriptionsAreReportedWithTheirLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"F: TNoSuch {}", "class TNoSuch not found"},
      {"F: TRoot {\n X: TNoSuch {} }", "line 2: class TNoSuch not found"},
      {"F: TRoot {\n X: TRoot {} }", "line 2: class TRoot not found"},  // no factory
      {"F: TRoot {\n Height = 3 }", "line 2: TRoot has no property Height"},
      {"F: TRoot {\n Width = \"wide\" }", "line 2: Width: expected a number, found a string"},
      {"F: TRoot {\n Items = [\"a\", 3] }", "line 2: Items: expected a string, found a number"},
      {"F: TRoot {\n OnClick = Nobody }", "line 2: OnClick: no handler named Nobody"},
      {"F: TRoot {\n OnClick = Wrong }", "line 2: OnClick: handler Wrong has the wrong type"},
      {"F: TRoot {\n A: TBox {}\n A: TBox {} }", "line 3: a component named A already exists"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Reading r;
    try {
      r.Read(c.text);
      ADD_FAILURE() << "accepted";
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
  }
}

}  // namespace
