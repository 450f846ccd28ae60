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

}  // namespace baldo7::channel_texts
