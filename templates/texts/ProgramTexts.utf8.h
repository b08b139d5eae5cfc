/* Every text the program shows or writes under its own name, in one place.

   This file is UTF-8 so that it reads as the user sees it. The build converts
   it to GBK (code page 936), the program's ANSI code page, and the sources
   include the converted copy as "ProgramTexts.h"; never include this file
   itself. Plain C, so that the point picker can take its texts from here too.
   A text that changes here changes in the user guide as well. */
#ifndef KX_PROGRAM_TEXTS_H
#define KX_PROGRAM_TEXTS_H

/* Folders and files of a generated project. */
#define KX_TEXT_OUTPUT_ROOT_NAME "KX项目"
#define KX_TEXT_BUILD_FOLDER_NAME "生成"
#define KX_TEXT_RUNTIME_FUN_FILE "运行时设置函数.kx"
#define KX_TEXT_PUBLIC_FUN_FILE "公共库.kx"
#define KX_TEXT_KEY_SCRIPT_FILE "按键脚本.kx"

/* The guide written beside exported templates. */
#define KX_TEXT_GUIDE_FILE_NAME "说明.txt"

/* Message box captions. */
#define KX_TEXT_ERROR "错误"
#define KX_TEXT_NOTICE "提示"

/* The name prompt: the long question is the title, the short word the label
   (three spaces after the colon). */
#define KX_TEXT_NAME_PROMPT_TITLE "请输入生成的KX项目名称："
#define KX_TEXT_NAME_PROMPT_LABEL "提示：   "

/* Messages of the generate workflow. */
#define KX_TEXT_OUTPUT_ROOT_FAILED "“KX项目”目录创建失败。"
#define KX_TEXT_NAME_EMPTY "项目名称不能为空。"
#define KX_TEXT_NAME_MALFORMED "项目名称格式不正确。"
#define KX_TEXT_PROJECT_EXISTS "该项目已经存在，是否重新生成？"
#define KX_TEXT_OPEN_QUOTE "“"
#define KX_TEXT_FOLDER_FAILED_TAIL "”目录创建失败。"
#define KX_TEXT_BUILD_FOLDER_FAILED "“生成”目录创建失败。"

/* Between the names of a list of files. */
#define KX_TEXT_LIST_SEPARATOR "、"

/* The sample key script: asks for the point "位置名称" once and clicks there. */
#define KX_TEXT_KEY_SCRIPT \
    "function DoSomeWorks()\r\n" \
    " GetPoint(\"位置名称\")\r\n" \
    " mouseleftclick()\r\n" \
    " sleep(500)\r\n" \
    "\r\n" \
    "return true\r\n" \
    "end"

/* The main window: its caption, the labels' font and the controls' texts. */
#define KX_TEXT_MAIN_CAPTION "KX按键项目模板"
#define KX_TEXT_LABEL_FACE "宋体"
#define KX_TEXT_DONATE "如果您觉得好用，请用微信扫码捐赠，金额不限。"
#define KX_TEXT_THANKS "您的鼓励，是我前行的动力！"
#define KX_TEXT_DOWNLOAD_LINK "KX工具下载"
#define KX_TEXT_GENERATE_BUTTON "生成KX项目"
#define KX_TEXT_EXIT_BUTTON "退出"

/* The point picker's help, shown by GetPointXY.dll's ReadMe. */
#define KX_TEXT_PICKER_README \
    "取点工具 GetPointXY.dll\r\n" \
    "\r\n" \
    "GetPoint(提示文字, x, y)：在屏幕上选取一个点。\r\n" \
    "按鼠标任意键选取该点的屏幕坐标，按 Esc 键取消。\r\n" \
    "取消时 x、y 都是 -1，函数返回 0；选中时返回 1。"

/* Regeneration that keeps the old files. A folder's name goes between
   KX_TEXT_OPEN_QUOTE and a tail. */
#define KX_TEXT_LINK_FOLDER_TAIL "”不是普通目录（是链接或交接点），未作任何改动。"
#define KX_TEXT_OLD_FILES_KEPT_TAIL "”目录中的旧文件无法移到回收站，未作任何改动。"
#define KX_TEXT_OLD_FILES_SPLIT_TAIL "”目录中的旧文件未能全部移到回收站：已移走的在回收站中，其余仍在原处。"
#define KX_TEXT_GENERATION_BUSY "另一个生成正在使用“KX项目”目录，请稍后再试。"
#define KX_TEXT_ROOT_LOCK_FAILED "无法锁定“KX项目”目录，未作任何改动。"

/* Checks before the first change. An entry inside the project folder goes
   between KX_TEXT_ENTRY_IN and a tail: "“demo”中的“sub\x”是……". */
#define KX_TEXT_ENTRY_IN "”中的“"
#define KX_TEXT_ENTRY_OTHER_MOUNT_TAIL "”是另一个文件系统（挂载点或卷），旧文件无法移到回收站，未作任何改动。"
#define KX_TEXT_ENTRY_UNMOVABLE_TAIL "”不允许移动，旧文件无法移到回收站，未作任何改动。"
#define KX_TEXT_ENTRY_HELD_OPEN_TAIL "”正被另一个程序使用，旧文件无法移到回收站，未作任何改动。请先关闭它（例如在 KX 中关闭这个项目）再重新生成。"
#define KX_TEXT_ENTRY_UNREADABLE_TAIL "”无法读取，旧文件无法移到回收站，未作任何改动。"
#define KX_TEXT_TRASH_INSIDE_TAIL "”是一个挂载点，它的回收站只能建在它自己里面，旧文件无法移到回收站，未作任何改动。"
#define KX_TEXT_NAME_TOO_LONG_TAIL "”太长：项目中的路径会超出文件系统的长度上限，未作任何改动。"
#define KX_TEXT_CONVERTER_FAILED "无法在代码页 936 与 Unicode 之间转换文字，未作任何改动。"

#endif
