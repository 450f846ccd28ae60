// The captions of the channel windows, English and Chinese.
#pragma once

#include "core/texts.h"

namespace baldo7::channel_texts {

// Channel grid.
constexpr BiText kGridCaption{"Channel Information", "信道信息"};
constexpr BiText kChannelEditButton{"Channel Edit", "信道编辑"};
constexpr BiText kGroup{"Group", "组"};
constexpr BiText kColumnHeaders[9] = {
    {"CH", "信道"},
    {"Rx Frequency", "接收频率"},
    {"Tx Frequency", "发射频率"},
    {"CTCSS/DCS Decode", "解码"},
    {"CTCSS/DCS Encode", "编码"},
    {"Tx Power", "发射功率"},
    {"Scan Add", "扫描添加"},
    {"Channel Spacing", "宽/窄带"},
    {"More", "更多"},
};
constexpr const char* kMoreCell = ">>";
// Insert while the last channel is in use: it would be pushed out of the list.
constexpr BiText kInsertNoRoom{
    "Channel 16 is in use: inserting a channel would push it out of the list.\n"
    "Delete a channel first (Ctrl+D) to make room.",
    "第 16 信道已有数据：插入信道会把它挤出列表。\n请先删除一个信道（Ctrl+D）腾出位置。"};

// Copy tools.
constexpr BiText kChannelCopyCaption{"Copy Channel", "信道复制"};
constexpr BiText kChannelCopyLabel{"Channel               To Channel",
                                   "信道                   到信道"};
constexpr BiText kCopy{"C&opy", "复制(&O)"};
constexpr BiText kFrequencyCopyCaption{"Frequency Copy", "频率复制"};
constexpr BiText kReceive{"Receive", "接收频率"};
constexpr BiText kTransmit{"Transmit", "发射频率"};
constexpr BiText kQtDqtCopyCaption{"QT/DQT Copy", "亚音复制"};
constexpr BiText kDecode{"Decode", "接收亚音频"};
constexpr BiText kEncode{"Encode", "发射亚音频"};
constexpr BiText kOk{"&OK", "确定(&O)"};
constexpr BiText kCancel{"&Cancel", "取消(&C)"};

// Channel edit dialog (the report prints the same fields under these names).
namespace edit {
constexpr BiText kCaption{"Channel Edit", "信道信息"};
constexpr BiText kChannel{"Channel", "信道"};
constexpr BiText kRxFreq{"Rx Frequency", "接收频率"};
constexpr BiText kTxFreq{"Tx Frequency", "发射频率"};
constexpr BiText kDecode{"CTCSS/DCS Decode", "CTCSS/DCS解码"};
constexpr BiText kEncode{"CTCSS/DCS Encode", "CTCSS/DCS编码"};
constexpr BiText kTxPower{"Tx Power", "发射功率"};
constexpr BiText kSpace{"Channel Spacing", "宽/窄带"};
constexpr BiText kBusyLock{"Busy Channel Lock-out", "繁忙锁定"};
constexpr BiText kScrambleType{"Scramble Type", "扰频组别"};
constexpr BiText kScanAdd{"Scan Add", "扫描添加"};
constexpr BiText kReverse{"Reverse", "倒频"};
constexpr BiText kTalkAround{"Talk Around", "脱网"};
constexpr BiText kScramble{"Scramble On", "扰频开启"};
constexpr BiText kCompand{"Compand", "压扩"};
constexpr BiText kCdcssMode{"Cdcss Mode", "数字亚音模式"};
constexpr BiText kNormalCode{"Normal Code", "正常亚音"};
constexpr BiText kSpecialCode{"Special Code", "特殊亚音"};
}  // namespace edit

}  // namespace baldo7::channel_texts
