// The program's own texts, in one place: captions, tool tips, file names and
// built-in entries. UTF-8.
#pragma once

#include <array>
#include <string_view>

namespace vitrolux::model::text {

inline constexpr std::string_view kAppTitle = "Vitrolux";

// Captions and initial texts of the controls.
inline constexpr std::string_view kShowIcons = "显示图标";
inline constexpr std::string_view kTitleHint = "粘贴程序默认标题，下次自动装载程序";
inline constexpr std::string_view kPathHint = "粘贴程序路径，下次自动装载";
inline constexpr std::string_view kTitleLabel = "标题";
inline constexpr std::string_view kPathLabel = "路径";
inline constexpr std::string_view kConfigure = "配置";
inline constexpr std::string_view kNewTask = "新建任务";
inline constexpr std::string_view kTaskList = "任务列表";
inline constexpr std::string_view kClickThrough = "穿透";
inline constexpr std::string_view kBlock = "挡住";
inline constexpr std::string_view kF5 = "F5";
inline constexpr std::string_view kStop = "停止";
inline constexpr std::string_view kBringToFront = "前置";
inline constexpr std::string_view kRelease = "释放";
inline constexpr std::string_view kLoad = "装载";

// Tool tips.
inline constexpr std::string_view kTipFullScreen = "全屏";
inline constexpr std::string_view kTipClose = "关闭";
inline constexpr std::string_view kTipMinimise = "最小化";
inline constexpr std::string_view kTipPin = "置顶";
inline constexpr std::string_view kTipUnpin = "取消置顶";
inline constexpr std::string_view kTipOptions = "选项";
inline constexpr std::string_view kTipConfigure = "点击保存，下次启动自动装载程序";
inline constexpr std::string_view kTipFirefox = "打开并装载Firefox";
inline constexpr std::string_view kTipChrome = "打开并装载Chrome";
inline constexpr std::string_view kTipIe = "打开并装载Internet Explorer";
inline constexpr std::string_view kTipAny = "选择程序，打开并装载";

// The Open dialog of the fifth tile: its title and what it lists.
inline constexpr std::string_view kChooseProgram = "选择程序";
inline constexpr std::string_view kPrograms = "程序";
inline constexpr std::string_view kTipClickThrough = "鼠标穿透程序";
inline constexpr std::string_view kTipF5 =
    "选择任务，并点击F5，程序将自动接收Ctrl+S并刷新（如网页自动刷新）";
inline constexpr std::string_view kTipBringToFront = "最前端显示窗口";
inline constexpr std::string_view kTipRelease = "释放程序";
inline constexpr std::string_view kTipLoad = "立即加载程序";
// The pin's second line: what the see-through mode's hot key does (the
// hot key's name comes first), or that another program holds it.
inline constexpr std::string_view kTipSeeThrough = "：半透明且鼠标穿透，再按一次恢复";
inline constexpr std::string_view kTipHotKeyTaken = "：已被其他程序占用";

// Messages about the see-through mode's hot key; the hot key's name or
// the file's text goes between the parts.
inline constexpr std::string_view kHotKeyTakenBefore = "热键 ";
inline constexpr std::string_view kHotKeyTakenAfter =
    " 已被其他程序占用，穿透模式无法使用。可在 hotkey.txt 中换一个热键。";
inline constexpr std::string_view kHotKeyUnreadableBefore = "hotkey.txt 中的热键“";
inline constexpr std::string_view kHotKeyUnreadableMiddle = "”无法识别，仍使用 ";
inline constexpr std::string_view kHotKeyUnreadableAfter = "。";

// What the frame tells the user when a launch, a pick or a load hosts
// nothing. Where a path or a caption belongs in the text, it follows on a
// line of its own, or stands between the quotes of kMsgNoWindowTitled.
inline constexpr std::string_view kMsgNoProgram = "找不到这个程序：";
inline constexpr std::string_view kMsgCannotStart = "系统无法启动这个程序：";
inline constexpr std::string_view kMsgNeedsElevation =
    "这个程序要求以管理员身份运行。Vitrolux 须以管理员身份运行，才能启动并装载它。";
inline constexpr std::string_view kMsgShortcutNoProgram =
    "这个快捷方式没有指向可以启动的程序（它指向文档、文件夹，或者目标已不存在）。";
inline constexpr std::string_view kMsgEndedWithoutWindow =
    "程序已经结束，没有显示窗口。它可能把请求交给了已经在运行的同一程序：请在任务列表中选择那个"
    "窗口，点击“装载”。";
inline constexpr std::string_view kMsgNoWindowInTime =
    "等了 30 秒，程序没有显示窗口。如果它的窗口已经打开，请在任务列表中选择它，点击“装载”。";
inline constexpr std::string_view kMsgNoWindowTitledBefore = "等了 30 秒，没有出现标题为“";
inline constexpr std::string_view kMsgNoWindowTitledAfter =
    "”的窗口。请在任务列表中选择程序的窗口，点击“装载”。";
inline constexpr std::string_view kMsgNoTitle =
    "程序已经启动，但条目没有窗口标题，不知道要装载哪个窗口。请在任务列表中选择它的窗口，点击“装载”"
    "，或在选项中填写标题。";
inline constexpr std::string_view kMsgRefusedAdministrator =
    "系统拒绝装载这个窗口：它的程序以管理员身份运行。Vitrolux 须以管理员身份运行，才能装载它。";
inline constexpr std::string_view kMsgRefused =
    "系统拒绝装载这个窗口。如果它的程序以管理员身份运行，Vitrolux 也须以管理员身份运行才能装载它。";
inline constexpr std::string_view kMsgStoreApp =
    "这是应用商店程序的窗口：它的内容由另一个进程绘制，移进 Vitrolux 后不会跟随显示，所以不能装载。";
inline constexpr std::string_view kMsgWindowClosed = "这个窗口已经关闭。";
inline constexpr std::string_view kMsgNotAnswering = "这个窗口的程序没有响应，请稍后再试。";

// Fonts of the layout.
inline constexpr std::string_view kFontYaHei = "微软雅黑";
inline constexpr std::string_view kFontSegoeUi = "Segoe UI";

// Settings files in the application folder.
inline constexpr std::string_view kConfigFile = "config.txt";
inline constexpr std::string_view kIeFile = "ie.txt";
inline constexpr std::string_view kChromeFile = "chrome.txt";
inline constexpr std::string_view kFirefoxFile = "firefox.txt";
inline constexpr std::string_view kUiFile = "ui.txt";
// The see-through mode's hot key, written by the user only.
inline constexpr std::string_view kHotKeyFile = "hotkey.txt";

// Window captions the loader looks for.
inline constexpr std::string_view kChromeTitle = "新标签页 - Google Chrome";
inline constexpr std::string_view kIeTitle = "Windows Internet Explorer";
inline constexpr std::string_view kFirefoxTitle = "Mozilla Firefox";

// Built-in program entries of the launch tiles.
inline constexpr std::string_view kIeEntry =
    "C:\\Program Files\\Internet Explorer\\iexplore.exe|Windows Internet Explorer";
inline constexpr std::string_view kChromeEntrySuffix =
    "\\AppData\\Local\\Google\\Chrome\\Application\\chrome.exe|新标签页 - Google Chrome";
inline constexpr std::string_view kChromeProfileVariable = "UserProfile";
inline constexpr std::string_view kFirefoxEntry =
    "C:\\Program Files\\Mozilla Firefox\\firefox.exe|Mozilla Firefox";
inline constexpr std::string_view kPictureEntry =
    "explorer C:\\Windows\\Web\\Wallpaper\\Windows\\img0.jpg|Windows 照片查看器";

// Programs that live in the notification area and keep hidden or borderless
// main windows: a caption containing one of these (exactly, case and all)
// is listed in the task list whatever the window's style.
inline constexpr std::array<std::string_view, 9> kTrayAppNames = {
    "QQLive", "FlashFXP", "QQ2011", "阿里旺旺", "UUSee", "迅雷", "暴风影音", "快播", "QvodPlayer"};

// Names of the icon images beside the task list: this and the number of the
// row they stand beside, counted from the first row shown.
inline constexpr std::string_view kIconImagePrefix = "app_icon_";

}  // namespace vitrolux::model::text
