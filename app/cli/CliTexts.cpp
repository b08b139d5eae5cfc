#include "CliTexts.h"

namespace kx::cli {

namespace {

const CliTexts kEnglish = {
    "Usage: kxgen [NAME] [--root DIR] [-y|--yes] [--no-open] [-q|--quiet]\n"
    "       kxgen --update NAME [--root DIR] [--templates DIR] [--dry-run]\n"
    "       kxgen -V|--version\n"
    "       kxgen -h|--help\n"
    "\n"
    "Writes a new KX project, as the Generate button of the Windows program does,\n"
    "and prints the tree it wrote.\n"
    "\n"
    "  NAME, --name NAME  the project name; without it kxgen asks and proposes\n"
    "                     wpx<yyyy_mm_dd>, which Enter, end of input or input that\n"
    "                     is not a terminal accepts\n"
    "  --root DIR         where projects go (default: KX项目 in the current folder)\n"
    "  -y, --yes          regenerate an existing project (its old files go to the trash)\n"
    "  --no-open          do not ask the desktop to open the new project file\n"
    "  -q, --quiet        print only the path of the project file\n"
    "  --export-templates DIR   write the built-in templates into DIR to edit\n"
    "                           (--force overwrites files already there)\n"
    "  --templates DIR    generate with the templates found in DIR\n"
    "  --check-templates DIR    only check the templates in DIR\n"
    "  --update NAME      bring the templates' changes into the project NAME, keeping\n"
    "                     your own edits (old versions go to the trash; a file both\n"
    "                     changed stays as it is, the merge beside it as FILE.merge)\n"
    "  --dry-run          with --update: show what would change, write nothing\n"
    "  -V, --version      print the version\n"
    "  -h, --help         print this text\n"
    "\n"
    "Examples:\n"
    "  kxgen demo\n"
    "      writes the project demo into KX项目 here and opens demo.kxproj\n"
    "  kxgen demo --root projects --yes --quiet --no-open\n"
    "      regenerates projects/demo without asking and prints the path of demo.kxproj\n"
    "  kxgen --update demo --templates my-templates --dry-run\n"
    "      shows what updating demo to the templates in my-templates would change\n"
    "\n"
    "Exit status:\n"
    "  0  the project was written\n"
    "  1  generation stopped before any change, with a message\n"
    "  2  a wrong command line, or a name that cannot be used\n"
    "  3  the project exists and was not regenerated (see --yes)\n"
    "  4  generation stopped part way; the message says what was done\n"
    "  5  the project was written, but kxgen's output could not be\n"
    "  6  the project was updated, with conflicts beside the files named\n",
    "Usage: kxgen [NAME] [--root DIR] [-y|--yes] [--no-open] [-q|--quiet]\n"
    "       kxgen --update NAME [--root DIR] [--templates DIR] [--dry-run]\n"
    "       kxgen -V|--version\n"
    "       kxgen -h|--help\n",
    "Try 'kxgen --help'.\n",
    "kxgen: ",
    "unknown option: {}",
    "{} needs a value",
    "{} takes no value",
    "{} needs a folder",
    "more than one project name: {}",
    "{}: --export-templates, --check-templates and --templates exclude each other, "
    "and --force goes with --export-templates",
    "the name \"{}\" has characters that code page 936 cannot hold",
    "the folder \"{}\" has characters that code page 936 cannot hold",
    "OK? [y/N] ",
    "kxgen: the project was kept; run again with --yes to regenerate it.\n",
    "kxgen: cannot create the folder {}; choose another place with --root DIR.\n",
    "this system cannot convert code page 936 text (its iconv lacks CP936); nothing was changed",
    "{}: --update goes with --root, --templates and --dry-run only, and --dry-run with --update",
};

const CliTexts kChinese = {
    "用法：kxgen [名称] [--root 文件夹] [-y|--yes] [--no-open] [-q|--quiet]\n"
    "      kxgen --update 名称 [--root 文件夹] [--templates 文件夹] [--dry-run]\n"
    "      kxgen -V|--version\n"
    "      kxgen -h|--help\n"
    "\n"
    "像 Windows 程序的“生成KX项目”按钮一样写出一个新的 KX 项目，并显示写出的文件树。\n"
    "\n"
    "  名称, --name 名称   项目名称；不给时 kxgen 会询问，建议的名称是 wpx<年_月_日>，\n"
    "                      直接回车、输入结束或输入不是终端时采用它\n"
    "  --root 文件夹       项目放在哪里（默认：当前文件夹下的 KX项目）\n"
    "  -y, --yes           重新生成已存在的项目（旧文件移到回收站）\n"
    "  --no-open           写完后不请系统打开项目文件\n"
    "  -q, --quiet         只显示项目文件的路径\n"
    "  --export-templates 文件夹  把内置模板写到该文件夹里以便修改\n"
    "                            （--force 覆盖已有的文件）\n"
    "  --templates 文件夹  用该文件夹里的模板生成\n"
    "  --check-templates 文件夹   只检查该文件夹里的模板\n"
    "  --update 名称       把模板的改动合并进项目，保留你自己的修改（旧版本移到回收站；\n"
    "                      双方都改了的文件保持原样，合并结果放在旁边的 文件.merge 里）\n"
    "  --dry-run           与 --update 一起用：只显示会改什么，不写入任何文件\n"
    "  -V, --version       显示版本号\n"
    "  -h, --help          显示本说明\n"
    "\n"
    "示例：\n"
    "  kxgen demo\n"
    "      在当前文件夹下的 KX项目 里生成项目 demo，并打开 demo.kxproj\n"
    "  kxgen demo --root 项目 --yes --quiet --no-open\n"
    "      不询问，直接重新生成 项目/demo，只显示 demo.kxproj 的路径\n"
    "  kxgen --update demo --templates 我的模板 --dry-run\n"
    "      显示按 我的模板 更新 demo 会改动什么\n"
    "\n"
    "退出码：\n"
    "  0  项目已写好\n"
    "  1  生成在任何改动之前因一条提示而停止\n"
    "  2  命令行有误，或名称不能使用\n"
    "  3  项目已存在，没有重新生成（见 --yes）\n"
    "  4  生成中途停止；提示说明已做了什么\n"
    "  5  项目已写好，但 kxgen 的输出无法写出\n"
    "  6  项目已更新，但有冲突，合并结果在列出的文件旁边\n",
    "用法：kxgen [名称] [--root 文件夹] [-y|--yes] [--no-open] [-q|--quiet]\n"
    "      kxgen --update 名称 [--root 文件夹] [--templates 文件夹] [--dry-run]\n"
    "      kxgen -V|--version\n"
    "      kxgen -h|--help\n",
    "用 kxgen --help 查看用法。\n",
    "kxgen：",
    "未知选项：{}",
    "{} 后面缺少值",
    "{} 不带值",
    "{} 需要一个文件夹",
    "项目名称多于一个：{}",
    "{}：--export-templates、--check-templates 和 --templates 只能用一个，"
    "--force 只与 --export-templates 一起用",
    "名称“{}”含有代码页 936 无法表示的字符",
    "文件夹“{}”含有代码页 936 无法表示的字符",
    "确定？[y/N] ",
    "kxgen：项目未改动；加 --yes 再运行即可重新生成。\n",
    "kxgen：无法创建文件夹 {}；请用 --root 文件夹 另选位置。\n",
    "本系统无法转换代码页 936 的文字（iconv 缺少 CP936），未作任何改动",
    "{}：--update 只能与 --root、--templates 和 --dry-run 一起用，--dry-run 只与 --update 一起用",
};

}  // namespace

Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value == nullptr || *value == '\0') continue;
        return value[0] == 'z' && value[1] == 'h' ? Language::Chinese : Language::English;
    }
    return Language::English;
}

const CliTexts& TextsFor(Language language) { return language == Language::Chinese ? kChinese : kEnglish; }

std::string Fill(const char* pattern, const std::string& subject) {
    std::string text = pattern;
    const std::size_t at = text.find("{}");
    if (at != std::string::npos) text.replace(at, 2, subject);
    return text;
}

std::string UsageErrorMessage(const CliTexts& texts, UsageError error, const std::string& subject) {
    switch (error) {
        case UsageError::UnknownOption: return Fill(texts.unknownOption, subject);
        case UsageError::MissingValue: return Fill(texts.missingValue, subject);
        case UsageError::UnexpectedValue: return Fill(texts.unexpectedValue, subject);
        case UsageError::EmptyFolder: return Fill(texts.emptyFolder, subject);
        case UsageError::NameTwice: return Fill(texts.nameTwice, subject);
        case UsageError::TemplateOptions: return Fill(texts.templateOptions, subject);
        case UsageError::UpdateOptions: return Fill(texts.updateOptions, subject);
        case UsageError::None: break;
    }
    return {};
}

}  // namespace kx::cli
