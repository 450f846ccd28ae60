// Bilingual texts: every user-visible string is an English/Chinese pair picked by
// the language flag at the moment it is shown.
#pragma once

#include <string>

namespace baldo7 {

struct BiText {
    const char* en;
    const char* zh;
    const char* pick(bool isEnglish) const { return isEnglish ? en : zh; }
};

// Texts several units show.
namespace texts {
constexpr BiText kAppTitle{"BALDO-7", "BALDO-7"};
constexpr BiText kFrequencyOutOfRange{"Frequency is out of range!", "频率超出范围！"};
constexpr BiText kErrorFile{"Error file！", "错误的文件！"};
constexpr BiText kErrorCaption{"Error", "错误"};
constexpr BiText kUnknownError{"Unknown error!", "未知原因导致操作失败！"};
constexpr BiText kNone{"None", "无"};
constexpr BiText kOff{"Off", "关"};
constexpr BiText kClose{"&Close", "关闭(&C)"};
constexpr BiText kHelp{"&Help", "帮助(&H)"};
}  // namespace texts

}  // namespace baldo7
