// Every text the main window shows of its own: captions, hints, menu items, status panels and
// message boxes. Lines of a hint are separated by LF CR (kLineSeparator).
#pragma once

#include "base/line_separator.h"

namespace rsf::desktop {

// Source and target fields.
inline constexpr const char* kSourceFieldInitial = "<源文件>";
inline constexpr const char* kTargetFieldInitial = "<目标文件>";
inline constexpr const char* kSourceFieldHint = "你想要分析的文件（包括路径）。";
inline constexpr const char* kTargetFieldHint = "目标文件的名称（包括路径）。" RSF_LINE_SEPARATOR RSF_LINE_SEPARATOR
                                                "注意：不要输入任何扩展名!" RSF_LINE_SEPARATOR
                                                "扩展名将会根据剪辑的类型自动添加。";
inline constexpr const char* kBrowseButtonCaption = "...";
inline constexpr const char* kDefaultTargetStem = "Clip";

// Clip list, information pane and clip-type boxes.
inline constexpr const char* kClipListHint = "列表在源中找到的剪辑。" RSF_LINE_SEPARATOR "复选你想要提取的剪辑。" RSF_LINE_SEPARATOR
                                             "双击剪辑将开始回放。";
inline constexpr const char* kInfoPanelHint = "显示所选剪辑的信息。";
inline constexpr const char* kClipTypesCaption = "可用的剪辑类型:";
inline constexpr const char* kClipTypesHint = "选取你想要分析的剪辑类型。";
inline constexpr const char* kMoreClipTypesCaption = "更多类型:";
inline constexpr const char* kHeaderFile = "文件";
inline constexpr const char* kHeaderType = "类型";
inline constexpr const char* kHeaderSize = "大小";
inline constexpr const char* kHeaderInfo = "信息";

// Status bar (the labels of the elapsed and remaining panels are the scan's, scan/engine/scan_observer.h).
inline constexpr const char* kStatusLabel = "状态:";
inline constexpr const char* kStatusIdle = "空闲";
// A scan the user stopped with Esc (the read-error count follows).
inline constexpr const char* kStatusScanStopped = "分析已停止。错误 : ";

// Actions: caption and hint.
inline constexpr const char* kOpenSourceCaption = "选择源文件...";
inline constexpr const char* kOpenSourceHint = "浏览源文件";
inline constexpr const char* kStartAnalysisCaption = "开始分析";
inline constexpr const char* kStartAnalysisHint = "开始分析源文件";
inline constexpr const char* kSelectAllCaption = "全部选定";
inline constexpr const char* kSelectAllHint = "选择所有找到的剪辑";
inline constexpr const char* kUnSelectAllCaption = "全部不选";
inline constexpr const char* kUnSelectAllHint = "取消选择所有找到的剪辑";
inline constexpr const char* kPlayCaption = "播放剪辑";
inline constexpr const char* kPlayHint = "播放选中的剪辑";
inline constexpr const char* kSelectTargetCaption = "选择目标";
inline constexpr const char* kSelectTargetHint = "浏览目标文件";
inline constexpr const char* kSaveClipsCaption = "保存剪辑";
inline constexpr const char* kSaveClipsHint = "保存选择的剪辑";
inline constexpr const char* kUseCDModeCaption = "使用 CD 模式";
inline constexpr const char* kUseCDModeHint = "切换 CD-模式" RSF_LINE_SEPARATOR "注意：此功能尚处于测试阶段（未充分测试）。";
inline constexpr const char* kShowHelpCaption = "帮助目录";
inline constexpr const char* kShowHelpHint = "显示帮助";
inline constexpr const char* kSplashShowCaption = "关于...";
inline constexpr const char* kSplashShowHint = "关于...";

// Menus and their own items.
inline constexpr const char* kMenuSource = "源";
inline constexpr const char* kMenuClips = "剪辑";
inline constexpr const char* kMenuTarget = "目标";
inline constexpr const char* kMenuView = "视图";
inline constexpr const char* kMenuOptions = "选项";
inline constexpr const char* kMenuHelp = "帮助";
inline constexpr const char* kMenuTest = "测试";
inline constexpr const char* kExitCaption = "退出";
inline constexpr const char* kToolbarCaption = "工具栏";
inline constexpr const char* kStatusbarCaption = "状态栏";
inline constexpr const char* kStartOnDropCaption = "拖放后开始分析";
inline constexpr const char* kInternalPlaybackCaption = "首先尝试内部回放";
inline constexpr const char* kPreciseBoundariesCaption = "精确边界";
inline constexpr const char* kMp3ModeCaption = "MP3 模式";
inline constexpr const char* kIgnoreReadErrorsCaption = "忽略读取错误";

// Message boxes.
inline constexpr const char* kWarningCaption = "警告";
inline constexpr const char* kInformationCaption = "信息";
inline constexpr const char* kErrorCaption = "错误";
inline constexpr const char* kOkButton = "确定";
inline constexpr const char* kRetryButton = "重试(&R)";
inline constexpr const char* kIgnoreButton = "忽略(&I)";
inline constexpr const char* kCannotDeleteTempFile = "不能删除临时文件";
inline constexpr const char* kCannotOpenHelpFile = "不能打开帮助文件";

// Playback.
inline constexpr const char* kNothingSelectedWarning = "你没有选择任何剪辑 !";
inline constexpr const char* kNoRoomForCopyError = "临时目录无足够的磁盘空间提取剪辑。异常终止...";
inline constexpr const char* kStatusCopyingClip = "正在提取剪辑...";
inline constexpr const char* kStatusViewingPicture = "正在查看图像...";
inline constexpr const char* kStatusInternalPlayer = "内部播放器...";
inline constexpr const char* kStatusExternalPlayer = "外部播放器...";
// The button of the internal player's window.
inline constexpr const char* kPlayerStopCaption = "停止";
inline constexpr const char* kShellFailureFirstPart =
    "当尝试运行外部播放器来播放这个剪辑时发生下列错误:     " RSF_LINE_SEPARATOR RSF_LINE_SEPARATOR;
inline constexpr const char* kShellFailureLastPart = RSF_LINE_SEPARATOR "请提取文件并尝试使用适当的播放器打开。";
// The user guide could not be opened: the reason, then where the guide lies.
inline constexpr const char* kHelpFailureFirstPart = "当尝试打开用户指南时发生下列错误:     " RSF_LINE_SEPARATOR RSF_LINE_SEPARATOR;
inline constexpr const char* kHelpFailureLastPart = RSF_LINE_SEPARATOR "请用网页浏览器打开用户指南: ";
inline constexpr const char* kTemporaryClipStem = "RSFtmp";

// Help.
inline constexpr const char* kHelpFileName = "rsfextract.html";
inline constexpr const char* kHelpTopic = "WelcometoRSF-Extractor1";

}  // namespace rsf::desktop
