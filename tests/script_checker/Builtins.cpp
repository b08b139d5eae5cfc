// The KX built-ins the templates call. The list is closed on purpose: a name
// that is neither here nor defined in the file set is a typo or a missing
// function, and the checker says so.
#include "ScriptChecker.h"

namespace kx::script {

const std::vector<Builtin>& Builtins() {
    static const std::vector<Builtin> list = {
        // Windows functions, the project's settings file, keys and threads.
        {"dllcall", u8"动态库调用"},
        {"filereadini", u8"文件读配置"},
        {"filewriteini", u8"文件写配置"},
        {"fileexist", u8"文件是否存在"},
        {"filedelete", u8"文件删除"},
        {"keydown", u8"键盘按下"},
        {"threadbegin", u8"线程开启"},
        {"threadclose", u8"线程关闭"},
        // Hot key controls, timers and the single-instance event.
        {"hotkeyget", u8"热键获取"},  // (control, key, modifiers): fills key and modifiers
        {"hotkeyset", u8"热键设置"},
        {"hotkeyregister", u8"热键注册"},
        {"hotkeydestroy", u8"热键销毁"},
        {"timerregister", u8"时钟开启"},
        {"timerkill", u8"时钟关闭"},
        {"eventopen", u8"事件打开"},
        {"eventcreate", u8"事件创建"},
        // The program's own window and its notification-area icon.
        {"windowgetmyhwnd", u8"窗口获取自我句柄"},
        {"windowsendmessage", u8"窗口发送消息"},
        {"windowrestore", u8"窗口还原"},
        {"windowsettop", u8"窗口置顶"},
        {"windowsetfocus", u8"窗口激活"},
        {"windowsetcaption", u8"窗口设置标题"},
        {"settray", u8"设置托盘"},
        {"traytip", u8"托盘气泡"},  // (text, title): the icon's balloon
        // Boxes, paths, components.
        {"confirmationbox", u8"确认框"},
        {"messagebox", u8"消息框"},
        {"sysgetprocesspath", u8"系统获取进程路径"},
        {"regdll", u8"注册组件"},
        {"comcreate", u8"创建对象"},  // (prog id): a COM object
        // Mouse and timing.
        {"mousemove", u8"鼠标移动"},
        {"mouseleftclick", u8"鼠标左键单击"},
        {"mousegetpos", u8"鼠标获取位置"},  // (): array(x, y) in screen coordinates
        {"sleep", u8"延时"},
        {"exit", u8"退出"},
        // Numbers, texts and arrays. Text positions count from 0; strfind gives -1
        // when nothing is found.
        {"cint", u8"转整数"},
        {"strlen", u8"字符串长度"},
        {"strleft", u8"字符串左边"},
        {"strmid", u8"字符串截取"},  // (text, start, length)
        {"strfind", u8"字符串查找"},  // (text, piece, start)
        {"strreplace", u8"字符串替换"},
        {"strsplit", u8"字符串分割"},  // (text, separator): array from 0
        {"strlower", u8"字符串小写"},
        {"array", u8"数组"},
        {"arraysize", u8"数组大小"},
        {"arraykeyexist", u8"数组键存在"},
        // Time: timepart takes "year", "month", "day", "hour", "minute", "second"
        // or "weekday" (0 for Sunday).
        {"timenow", u8"时间获取"},
        {"timepart", u8"时间取部分"},
        {"getnettime", u8"获取网络时间"},
        // Web pages and the table and other controls of the window.
        {"httpgetsource", u8"http获取页面源码"},  // (url, encoding)
        {"controldestroy", u8"控件销毁"},
        {"controlshow", u8"控件可见"},
        {"controlenable", u8"控件有效"},
        {"controlgethwnd", u8"控件获取句柄"},
        {"gridgetrowcount", u8"表格获取行数"},
        {"gridgetcell", u8"表格获取内容"},  // (table, row, column)
        {"gridsetcell", u8"表格设置内容"},  // (table, row, column, text)
        {"gridselect", u8"表格选择"},       // (table, row1, column1, row2, column2)
    };
    return list;
}

bool IsBuiltin(const std::string& name) {
    for (const Builtin& builtin : Builtins()) {
        if (name == builtin.english || name == builtin.chinese) return true;
    }
    return false;
}

bool IsBuiltinNamed(const std::string& name, const std::string& english) {
    for (const Builtin& builtin : Builtins()) {
        if (english == builtin.english) return name == builtin.english || name == builtin.chinese;
    }
    return false;
}

}  // namespace kx::script
