// The contracts between the generated scripts, the window file and the
// point-picker DLL, checked on the template sources (transformed as the
// generator does) and on projects WriteProjectFiles really wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "ProjectFiles.h"

namespace kx::script::test {
namespace {

struct Source {
    bool generated;
    std::string name;  // UTF-8
};

void PrintTo(const Source& source, std::ostream* out) {
    *out << (source.generated ? "generated " : "templates ") << source.name;
}

std::string PrintSource(const testing::TestParamInfo<Source>& info) {
    return std::string(info.param.generated ? "Generated" : "Templates") +
           (info.param.name == "demo" ? "Demo" : "ChineseName");
}

std::string Joined(const std::vector<Token>& tokens) {
    std::string text;
    for (const Token& token : tokens) text += token.kind == TokenKind::String ? "\"" + token.text + "\"" : token.text;
    return text;
}

// The arguments of every call to callee, each as its concatenation shape, or
// as its tokens joined when it holds no text ("MyCaption", "1+32").
std::vector<std::vector<std::string>> Arguments(const Function& function, const std::string& callee) {
    std::vector<std::vector<std::string>> all;
    for (const Call* call : CallsTo(function, callee)) {
        std::vector<std::string> shapes;
        for (const auto& argument : call->arguments) {
            const bool text = std::any_of(argument.begin(), argument.end(),
                                          [](const Token& t) { return t.kind == TokenKind::String; });
            shapes.push_back(text ? ConcatenationShape(argument) : Joined(argument));
        }
        all.push_back(shapes);
    }
    return all;
}

using Args = std::vector<std::string>;

bool Has(const std::vector<Args>& calls, const Args& wanted) {
    return std::find(calls.begin(), calls.end(), wanted) != calls.end();
}

std::set<long long> Numbers(const Function& function) {
    std::set<long long> numbers;
    for (const Token& token : function.body) {
        if (token.kind == TokenKind::Number) numbers.insert(NumberValue(token));
    }
    return numbers;
}

std::vector<std::string> CaseLabels(const Function& function) {
    std::vector<std::string> labels;
    for (std::size_t i = 0; i + 1 < function.body.size(); ++i) {
        if (function.body[i].keyword == Keyword::Case) labels.push_back(function.body[i + 1].text);
    }
    return labels;
}

// Each key argument (position 1) of the INI calls, with its section (position 0).
std::set<std::pair<std::string, std::string>> IniKeys(const Function& function, const std::string& callee) {
    std::set<std::pair<std::string, std::string>> keys;
    for (const Args& args : Arguments(function, callee)) {
        if (args.size() >= 2) keys.emplace(args[0], args[1]);
    }
    return keys;
}

// A function header written compactly: parameters without spaces,
// "&" for by-reference, string defaults quoted, true and false as 真 and 假.
std::string Signature(const Function& function) {
    std::string text = function.name + "(";
    for (std::size_t i = 0; i < function.parameters.size(); ++i) {
        const Parameter& p = function.parameters[i];
        if (i > 0) text += ",";
        text += (p.byReference ? "&" : "") + p.name;
        if (!p.hasDefault) continue;
        const Token& value = p.defaultValue;
        if (value.kind == TokenKind::String) {
            text += "=\"" + value.text + "\"";
        } else if (value.keyword == Keyword::True || value.keyword == Keyword::False) {
            text += value.keyword == Keyword::True ? u8"=真" : u8"=假";
        } else {
            text += "=" + value.text;
        }
    }
    return text + ")";
}

class ProjectContract : public testing::TestWithParam<Source> {
protected:
    void SetUp() override {
        if (GetParam().generated) {
            generated_ = std::make_unique<GeneratedProject>(GetParam().name);
            texts_ = generated_->Texts();
        } else {
            texts_ = FromTemplates(GetParam().name);
        }
        project_ = CheckProject(texts_);
    }

    const Function& Main(const std::string& name) { return Get(project_.code, name); }

    static const Function& Get(const Script& script, const std::string& name) {
        const Function* function = script.Find(name);
        if (!function) throw std::runtime_error(script.file + " has no function " + name);
        return *function;
    }

    std::string Prefixed(const std::string& suffix) const { return texts_.name + suffix; }

    std::unique_ptr<GeneratedProject> generated_;
    ProjectTexts texts_;
    CheckedProject project_;
};

TEST_P(ProjectContract, WholeFileSetPassesTheChecker) {
    EXPECT_TRUE(project_.diagnostics.empty()) << Describe(project_.diagnostics);
}

TEST_P(ProjectContract, FunctionsComeInTheirFileOrder) {
    const std::vector<std::string> code = {
        u8"执行", u8"停止", u8"启动_热键", u8"终止_热键", u8"启动_失去焦点", u8"终止_失去焦点",
        u8"保存配置_点击", u8"托盘菜单初始化", Prefixed(u8"_初始化"), u8"退出_点击",
        u8"定时最小化_时钟", u8"清除配置_点击", Prefixed(u8"_消息过程"), u8"菜单处理",
        Prefixed(u8"_消息路由")};
    EXPECT_EQ(project_.code.FunctionNames(), code);

    ASSERT_EQ(project_.runtimeFun.FunctionNames(), std::vector<std::string>{"GetPoint"});
    const auto& parameters = project_.runtimeFun.functions[0].parameters;
    ASSERT_EQ(parameters.size(), 2u);
    EXPECT_EQ(parameters[0].name, "sPointName");
    EXPECT_FALSE(parameters[0].hasDefault);
    EXPECT_EQ(parameters[1].name, "sIniFile");
    EXPECT_TRUE(parameters[1].hasDefault);
    EXPECT_EQ(parameters[1].defaultValue.kind, TokenKind::String);
    EXPECT_EQ(parameters[1].defaultValue.text, "");

    const std::vector<std::string> library = {
        // window effects
        u8"窗口透明度", u8"窗口裁剪", u8"窗口渐变", u8"去掉窗口标题", u8"无框窗口移动", u8"增加透明属性",
        // message box and tray; time
        u8"软件消息框", u8"托盘信息", u8"时间处理", u8"当前日期时间",
        // text and web
        u8"去除字符串", u8"读网页", u8"获取网页源码", u8"取中间字符", "BytesToBstr",
        // tables and controls
        u8"表格标记序号", u8"表格单项滚动", u8"控件销毁操作", u8"控件可见操作", u8"控件有效操作",
        // menus
        u8"菜单字符串处理", u8"菜单图片初始化", u8"菜单图片释放", "PopuMenu", "MainMenu",
        // thin wrappers
        "DestroyMenu", "DestroyMainMenu", "GetMenu", "GetSubMenu", "GetMenuItemID", "SetMenuItemBitmaps",
        "LoadImage", "DeleteObject", "AddMenuItem", "AppendMenu", "SetClassLong", "GetClassLong",
        "SetParent", "GetDesktopWindow", "GetWindowLong", "SetWindowLong", "SetWindowPos", "FindWindow",
        "SetProcessWorkingSetSize", "GetCurrentProcess"};
    EXPECT_EQ(project_.publicFun.FunctionNames(), library);
    EXPECT_EQ(library.size(), 45u);
}

// Users call the library with these parameters and defaults; a changed default
// silently changes what existing calls do.
TEST_P(ProjectContract, CalledSignaturesAndDefaults) {
    const std::vector<std::string> library = {
        u8"窗口渐变(进入,窗口句柄,颜色值=0,透明度=250,标识=2,延时=20)",
        u8"时间处理(类型)",
        u8"读网页(url,分隔符,编码=\"utf-8\")",
        u8"获取网页源码(type,weburl,send=\"\",setcookie=\"\",header=\"\",referer=\"\",Cset=\"utf-8\")",
        u8"取中间字符(source,startStr,endStr)",
        u8"菜单字符串处理(itmp,titletmp,Mvalue,&array_handle,分隔符=\",\")",
        u8"菜单图片初始化(BitmapUncheckedPath,BitmapChecked=\"\")",
        u8"菜单图片释放()",
        u8"PopuMenu(hwnd,Menutitle,&array_PopuMenuInfo,MenuStartValue=200,IsPretranslate=假)",
        u8"MainMenu(hwnd,Menutitle,&array_MainMenuInfo,MenuStartValue=100)"};
    for (const std::string& wanted : library) {
        const Function& function = Get(project_.publicFun, wanted.substr(0, wanted.find('(')));
        EXPECT_EQ(Signature(function), wanted);
    }
    EXPECT_EQ(Signature(Get(project_.runtimeFun, "GetPoint")), "GetPoint(sPointName,sIniFile=\"\")");

    // The default title is free text; the other defaults are not.
    const Function& box = Get(project_.publicFun, u8"软件消息框");
    ASSERT_EQ(box.parameters.size(), 5u);
    EXPECT_EQ(box.parameters[1].name, u8"标题");
    EXPECT_EQ(box.parameters[1].defaultValue.kind, TokenKind::String);
    Function rest = box;
    rest.parameters[1].hasDefault = false;
    EXPECT_EQ(Signature(rest), u8"软件消息框(文本,标题,提示类型=0,句柄=0,时间=0)");
}

TEST_P(ProjectContract, MainScriptStartsWithTheGuidThenTheCaption) {
    std::vector<std::string> globals;
    for (const Global& global : project_.code.globals) globals.push_back(global.name);
    EXPECT_EQ(globals, (std::vector<std::string>{"MyGUID", "MyCaption", u8"线程ID", u8"托盘菜单信息"}));

    ASSERT_GE(project_.code.globals.size(), 2u);
    EXPECT_EQ(project_.code.globals[0].line, 1);
    EXPECT_EQ(project_.code.globals[1].line, 2);
    const auto& caption = project_.code.globals[1].initializer;
    ASSERT_EQ(caption.size(), 1u);
    EXPECT_EQ(caption[0].kind, TokenKind::String);
    EXPECT_EQ(caption[0].text, texts_.name);
    EXPECT_EQ(texts_.code.find(kPlaceholder), std::string::npos);
}

TEST_P(ProjectContract, EveryMessageOfTheProgramIsExact) {
    const auto init = Arguments(Main(Prefixed(u8"_初始化")), "confirmationbox");
    EXPECT_TRUE(Has(init, {u8"程序已经运行!", "MyCaption"}));
    EXPECT_FALSE(CallsTo(Main(Prefixed(u8"_初始化")), "exit").empty());

    EXPECT_TRUE(Has(Arguments(Main(u8"启动_热键"), "confirmationbox"),
                    {u8"脚本正在执行中,请先停止再启动.", "MyCaption"}));

    const auto clear = Arguments(Main(u8"清除配置_点击"), "messagebox");
    EXPECT_TRUE(Has(clear, {u8"配置文件已删除.", u8"提示"}));
    EXPECT_TRUE(Has(clear, {u8"删除配置文件失败.", u8"提示"}));

    EXPECT_TRUE(Has(Arguments(Main(u8"菜单处理"), u8"软件消息框"), {u8"你确定要退出么？", u8"提示", "1+32"}));

    // The point messages quote the DLL path and the point name in ASCII quotes.
    const Function& getPoint = Get(project_.runtimeFun, "GetPoint");
    const auto boxes = Arguments(getPoint, "messagebox");
    EXPECT_TRUE(Has(boxes, {u8"文件\"{}\"未找到,程序中止执行.", u8"提示"}));
    EXPECT_TRUE(Has(boxes, {u8"未设置\"{}\"点位置", u8"提示"}));
    const auto shapes = TextShapes(getPoint);
    EXPECT_NE(std::find(shapes.begin(), shapes.end(), u8"请设置\"{}\"点位置"), shapes.end());
    // Both failures stop the run.
    EXPECT_EQ(CallsTo(getPoint, u8"停止").size(), 2u);
}

// The guard names its event after the generator's GUID line, so two different
// projects can run side by side; the tray and the COM registration report nothing.
TEST_P(ProjectContract, StartUpGuardsTheInstanceByItsGuid) {
    const Function& init = Main(Prefixed(u8"_初始化"));
    EXPECT_EQ(Arguments(init, "eventopen"), (std::vector<Args>{{"MyGUID"}}));
    EXPECT_EQ(Arguments(init, "eventcreate"), (std::vector<Args>{{"false", "true", "MyGUID"}}));
    EXPECT_EQ(Arguments(init, "windowsetcaption").at(0).back(), "MyCaption");
    EXPECT_EQ(Arguments(init, "settray"), (std::vector<Args>{{u8"我的托盘", "false"}}));
    const auto registration = CallsTo(init, "regdll");
    ASSERT_EQ(registration.size(), 1u);
    ASSERT_EQ(registration[0]->arguments.size(), 2u);
    // A file beside the running program, whatever its name.
    const auto& path = registration[0]->arguments[0];
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(IsBuiltinNamed(path[0].text, "sysgetprocesspath")) << Joined(path);
    EXPECT_EQ(Joined(registration[0]->arguments[1]), "true");
}

// The DLL's export takes the prompt as ANSI text and writes x and y through
// pointers; the values written to the settings file are the ones it returned.
TEST_P(ProjectContract, PointPickerIsCalledAsTheDllExportsIt) {
    const Function& getPoint = Get(project_.runtimeFun, "GetPoint");
    const auto shapes = TextShapes(getPoint);
    EXPECT_NE(std::find(shapes.begin(), shapes.end(), "{}GetPointXY.dll"), shapes.end());

    std::vector<Args> picker;
    for (const Args& call : Arguments(getPoint, "dllcall")) {
        if (call.size() > 2 && call[2] == "GetPoint") picker.push_back(call);
    }
    ASSERT_EQ(picker.size(), 1u);
    const Args& call = picker[0];
    ASSERT_EQ(call.size(), 9u);
    EXPECT_EQ(call[1], "long");
    EXPECT_EQ(call[3], "pchar *");
    EXPECT_EQ(call[5], "plong");
    EXPECT_EQ(call[7], "plong");
    // The library the program checks for is the one it calls.
    EXPECT_EQ(Arguments(getPoint, "fileexist"), (std::vector<Args>{{call[0]}}));

    std::map<std::string, std::string> written;
    for (const Args& write : Arguments(getPoint, "filewriteini")) {
        if (write.size() == 4) written[write[1]] = write[2];
    }
    EXPECT_EQ(written["RegionX"], call[6]);
    EXPECT_EQ(written["RegionY"], call[8]);
    EXPECT_FALSE(CallsTo(getPoint, "mousemove").empty());
}

TEST_P(ProjectContract, SettingsFileSectionsAndKeys) {
    const std::string section = u8"热键";
    const std::set<std::pair<std::string, std::string>> hotKeys = {
        {section, u8"启动键值"}, {section, u8"启动功能键"}, {section, u8"终止键值"}, {section, u8"终止功能键"}};
    EXPECT_EQ(IniKeys(Main(u8"保存配置_点击"), "filewriteini"), hotKeys);
    EXPECT_EQ(IniKeys(Main(Prefixed(u8"_初始化")), "filereadini"), hotKeys);
    EXPECT_EQ(IniKeys(Main(u8"停止"), "filereadini"),
              (std::set<std::pair<std::string, std::string>>{{section, u8"终止键值"}}));

    const Function& getPoint = Get(project_.runtimeFun, "GetPoint");
    // A point's section is named after the point.
    EXPECT_EQ(IniKeys(getPoint, "filereadini"),
              (std::set<std::pair<std::string, std::string>>{{"sPointName", "RegionX"},
                                                             {"sPointName", "RegionY"}}));
    EXPECT_EQ(IniKeys(getPoint, "filewriteini"),
              (std::set<std::pair<std::string, std::string>>{
                  {"sPointName", "RegionX"}, {"sPointName", "RegionY"}, {"sPointName", u8"点位置"}}));
    EXPECT_TRUE(Has(Arguments(getPoint, "filewriteini"), {"sPointName", u8"点位置", "{}|{}", "sIniFile"}));

    // Every function that touches the settings file finds it the same way: the
    // module's path from GetModuleFileNameW, its last three characters turned into "ini".
    std::vector<const Function*> users = {&getPoint};
    for (const Function& function : project_.code.functions) {
        if (!CallsTo(function, "filereadini").empty() || !CallsTo(function, "filewriteini").empty() ||
            !CallsTo(function, "filedelete").empty()) {
            users.push_back(&function);
        }
    }
    EXPECT_EQ(users.size(), 5u);
    for (const Function* function : users) {
        EXPECT_TRUE(Has(Arguments(*function, "dllcall"),
                        {"kernel32.dll", "long", "GetModuleFileNameW", "long", "0", "pwchar *", u8"程序路径",
                         "long", "255"}))
            << function->name;
        const auto shapes = TextShapes(*function);
        EXPECT_NE(std::find(shapes.begin(), shapes.end(), "{}ini"), shapes.end()) << function->name;
    }
}

TEST_P(ProjectContract, TrayMenuTextCommandsAndMessages) {
    const std::string menu = u8"开始|停止|-|激活|退出";
    std::vector<std::string> texts;
    for (const Token& token : Main(u8"托盘菜单初始化").body) {
        if (token.kind == TokenKind::String) texts.push_back(token.text);
    }
    EXPECT_EQ(texts, std::vector<std::string>{menu});

    // The handler knows every item of the menu text but the separator.
    EXPECT_EQ(CaseLabels(Main(u8"菜单处理")),
              (std::vector<std::string>{u8"开始", u8"停止", u8"激活", u8"退出"}));

    const Function& procedure = Main(Prefixed(u8"_消息过程"));
    EXPECT_EQ(Numbers(procedure), (std::set<long long>{0x632, 0x80, 0x205, 0, 200}));
    const auto popup = Arguments(procedure, "PopuMenu");
    ASSERT_EQ(popup.size(), 1u);
    EXPECT_EQ(popup[0], (Args{"windowgetmyhwnd()", u8"托盘菜单信息[0][0]", u8"托盘菜单信息", "200", "true"}));

    const Function& route = Main(Prefixed(u8"_消息路由"));
    EXPECT_EQ(Numbers(route), (std::set<long long>{273, 0, 2, 200, 299}));
    EXPECT_EQ(Arguments(route, u8"菜单处理"), (std::vector<Args>{{"wparam", u8"托盘菜单信息"}}));
    // Every message goes on to its normal handling.
    for (std::size_t i = 0; i + 1 < route.body.size(); ++i) {
        if (route.body[i].keyword == Keyword::Return) {
            EXPECT_EQ(route.body[i + 1].keyword, Keyword::False);
        }
    }
}

TEST_P(ProjectContract, HotKeyDefaultsMatchTheWindowFile) {
    const WindowControl* start = project_.window.Find(u8"启动");
    const WindowControl* stop = project_.window.Find(u8"终止");
    ASSERT_TRUE(start && stop);
    const long long startKey = std::stoll(start->properties.at(u8"虚拟键值"));
    const long long stopKey = std::stoll(stop->properties.at(u8"虚拟键值"));
    EXPECT_EQ(startKey, 119);
    EXPECT_EQ(stopKey, 120);

    const std::set<long long> init = Numbers(Main(Prefixed(u8"_初始化")));
    EXPECT_TRUE(init.count(startKey) && init.count(stopKey));
    const auto reset = Arguments(Main(u8"清除配置_点击"), "hotkeyset");
    EXPECT_EQ(reset, (std::vector<Args>{{u8"启动", std::to_string(startKey), "0"},
                                        {u8"终止", std::to_string(stopKey), "0"}}));
    EXPECT_TRUE(Has(Arguments(Main(u8"停止"), "keydown"), {std::to_string(stopKey)}));

    // The timer and hot key controls the script drives by name exist in the window.
    EXPECT_TRUE(project_.window.Find(u8"定时最小化"));
    EXPECT_TRUE(Has(Arguments(Main(Prefixed(u8"_初始化")), "timerregister"), {u8"定时最小化", "10"}));
}

TEST_P(ProjectContract, WindowBindsItsNineHandlers) {
    std::set<std::string> handlers;
    std::size_t bindings = 0;
    for (const WindowControl& control : project_.window.controls) {
        for (const auto& event : control.events) {
            handlers.insert(event.second);
            ++bindings;
        }
    }
    EXPECT_EQ(bindings, 9u);
    EXPECT_EQ(handlers, (std::set<std::string>{Prefixed(u8"_初始化"), u8"清除配置_点击", u8"定时最小化_时钟",
                                               u8"退出_点击", u8"启动_热键", u8"启动_失去焦点", u8"终止_热键",
                                               u8"终止_失去焦点", u8"保存配置_点击"}));
}

TEST_P(ProjectContract, PublicLibraryConstantsHaveTheirWindowsValues) {
    const std::map<std::string, long long> standard = {
        {"TPM_LEFTBUTTON", 0},    {"TPM_RIGHTBUTTON", 2},     {"TPM_LEFTALIGN", 0},
        {"TPM_CENTERALIGN", 4},   {"TPM_RIGHTALIGN", 8},      {"TPM_TOPALIGN", 0},
        {"TPM_VCENTERALIGN", 0x10}, {"TPM_BOTTOMALIGN", 0x20}, {"TPM_RETURNCMD", 0x100},
        {"MF_STRING", 0},         {"MF_GRAYED", 1},           {"MF_DISABLED", 2},
        {"MF_UNCHECKED", 0},      {"MF_CHECKED", 8},          {"MF_POPUP", 0x10},
        {"MF_SEPARATOR", 0x800},  {"MF_BYCOMMAND", 0},        {"MF_BYPOSITION", 0x400},
        {"GWL_EXSTYLE", -20},     {"WS_EX_APPWINDOW", 0x40000}, {"WS_EX_TOOLWINDOW", 0x80},
        {"HWND_TOP", 0},          {"SWP_NOSIZE", 1},          {"SWP_NOMOVE", 2},
        {"SWP_NOZORDER", 4},      {"SWP_NOACTIVATE", 0x10},   {"SWP_FRAMECHANGED", 0x20},
        {"SWP_SHOWWINDOW", 0x40}, {"SWP_HIDEWINDOW", 0x80}};
    std::vector<std::string> names;
    for (const Global& global : project_.publicFun.globals) {
        names.push_back(global.name);
        const auto found = standard.find(global.name);
        if (found == standard.end()) continue;
        const auto& value = global.initializer;
        ASSERT_FALSE(value.empty()) << global.name;
        const bool negative = value.size() == 2 && value[0].text == "-";
        ASSERT_EQ(value.back().kind, TokenKind::Number) << global.name;
        EXPECT_EQ((negative ? -1 : 1) * NumberValue(value.back()), found->second) << global.name;
    }
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ((std::vector<std::string>(names.begin(), names.begin() + 3)),
              (std::vector<std::string>{"isCheck", "IsBmpInt", "array_BmpValue"}));
    EXPECT_EQ(project_.publicFun.globals[1].initializer.at(0).keyword, Keyword::False);
    // Every constant the library's functions use is one of these.
    EXPECT_EQ(names.size(), standard.size() + 3);
}

TEST_P(ProjectContract, ThinWrappersCallTheirWindowsFunction) {
    struct Wrapper {
        const char* name;
        const char* library;
        const char* windowsName;
        bool returnsValue;
    };
    const Wrapper wrappers[] = {
        {"DestroyMenu", "user32.dll", "DestroyMenu", false},
        {"GetMenu", "user32.dll", "GetMenu", true},
        {"GetSubMenu", "user32.dll", "GetSubMenu", true},
        {"GetMenuItemID", "user32.dll", "GetMenuItemID", true},
        {"SetMenuItemBitmaps", "user32.dll", "SetMenuItemBitmaps", true},
        {"LoadImage", "user32.dll", "LoadImageA", true},
        {"DeleteObject", "gdi32.dll", "DeleteObject", true},
        {"AddMenuItem", "user32.dll", "AppendMenuA", false},
        {"AppendMenu", "user32.dll", "AppendMenuA", true},
        {"SetClassLong", "user32.dll", "SetClassLongA", true},
        {"GetClassLong", "user32.dll", "GetClassLongA", true},
        {"SetParent", "user32.dll", "SetParent", true},
        {"GetDesktopWindow", "user32.dll", "GetDesktopWindow", true},
        {"GetWindowLong", "user32.dll", "GetWindowLongA", true},
        {"SetWindowLong", "user32.dll", "SetWindowLongA", true},
        {"SetWindowPos", "user32.dll", "SetWindowPos", true},
        {"FindWindow", "user32.dll", "FindWindowA", true},
        {"SetProcessWorkingSetSize", "kernel32.dll", "SetProcessWorkingSetSize", true},
        {"GetCurrentProcess", "kernel32.dll", "GetCurrentProcess", true},
    };
    for (const Wrapper& wrapper : wrappers) {
        const Function& function = Get(project_.publicFun, wrapper.name);
        const auto calls = Arguments(function, "dllcall");
        ASSERT_FALSE(calls.empty()) << wrapper.name;
        for (const Args& call : calls) {
            EXPECT_EQ(call.at(0), wrapper.library) << wrapper.name;
            EXPECT_EQ(call.at(2), wrapper.windowsName) << wrapper.name;
        }
        EXPECT_EQ(function.returnsValue, wrapper.returnsValue) << wrapper.name;
        // A wrapper's parameters are its Windows function's arguments, in order.
        std::size_t valueCount = 0;
        for (const Args& call : calls) valueCount = std::max(valueCount, (call.size() - 3) / 2);
        EXPECT_EQ(function.parameters.size(), valueCount) << wrapper.name;
    }
    const Function& destroyMain = Get(project_.publicFun, "DestroyMainMenu");
    std::vector<std::string> order;
    for (const Args& call : Arguments(destroyMain, "dllcall")) order.push_back(call.at(2));
    EXPECT_EQ(order, (std::vector<std::string>{"SetMenu", "DestroyMenu"}));
    EXPECT_FALSE(destroyMain.returnsValue);
}

TEST_P(ProjectContract, KeyScriptAsksForItsPointAndClicks) {
    ASSERT_EQ(project_.keyScript.FunctionNames(), std::vector<std::string>{"DoSomeWorks"});
    const Function& work = project_.keyScript.functions[0];
    EXPECT_EQ(Arguments(work, "GetPoint"), (std::vector<Args>{{u8"位置名称"}}));
    EXPECT_EQ(Arguments(work, "mouseleftclick"), (std::vector<Args>{{}}));
    EXPECT_EQ(Arguments(work, "sleep"), (std::vector<Args>{{"500"}}));
    EXPECT_TRUE(work.returnsValue);
    // The main script runs it on the worker thread.
    EXPECT_EQ(Arguments(Main(u8"启动_热键"), "threadbegin"), (std::vector<Args>{{u8"执行", ""}}));
    EXPECT_FALSE(CallsTo(Main(u8"执行"), "DoSomeWorks").empty());
}

INSTANTIATE_TEST_SUITE_P(Sets, ProjectContract,
                         testing::Values(Source{false, "demo"}, Source{false, u8"中文项目"},
                                         Source{true, "demo"}, Source{true, u8"中文项目"}),
                         PrintSource);

}  // namespace
}  // namespace kx::script::test
