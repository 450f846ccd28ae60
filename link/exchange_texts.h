// Texts of the programming exchange and its window, English/Chinese.
#pragma once

#include "core/texts.h"

namespace baldo7::link_texts {

// Window captions when the window opens.
constexpr BiText kWindowRead{"Read data from radio", "从对讲机读取数据"};
constexpr BiText kWindowWrite{"Write data from radio", "向对讲机写入数据"};
// Captions the exchange sets when it starts.
constexpr BiText kStartRead{"Read data from radio", "从对讲机读取数据"};
constexpr BiText kStartWrite{"Write data into radio", "往对讲机写入数据"};

constexpr BiText kLabelPassword{"Password:", "密码:"};
constexpr BiText kLabelNewPassword{"New Password:", "新密码:"};
constexpr BiText kCommandWrite{"Write", "写入"};
constexpr BiText kCommandRead{"Read", "读取"};
constexpr BiText kCommandCancel{"&Cancel", "取消(&C)"};
constexpr BiText kProgressStart{"Complete:0%", "完成进度:0%"};
constexpr BiText kProgressPrefix{"Complete:", "完成进度:"};

constexpr BiText kReselectPort{"Please reselect COM port!", "请重新选择端口！"};
constexpr BiText kCheckConnection{"Check connection!Retry or cancel?", "检测连接！重试或取消？"};
constexpr BiText kBandDifferent{"Frequency band is different,Overwrite?",
                                "与机器频段不同,是否覆盖？"};
// The line under it; %1 the radio's model, %2 the file, %3 its model and band.
constexpr BiText kBandSides{"The radio is %1; the data to write (%2) is %3.",
                            "对讲机是 %1；要写入的数据（%2）是 %3。"};
constexpr BiText kUnsavedData{"not saved", "未保存"};
constexpr BiText kReadOk{"Read Data OK", "读频成功"};
constexpr BiText kWriteOk{"Write Data OK", "写频成功"};

// Verify after write: the read-back phase of the transfer window.
constexpr BiText kWindowVerify{"Verify data in radio", "校验对讲机数据"};
constexpr BiText kVerifyPrefix{"Verify:", "校验进度:"};
constexpr BiText kVerifyIncomplete{
    "Write Data OK, but not verified: the read-back did not complete",
    "写频成功，但未校验：回读未完成"};

}  // namespace baldo7::link_texts
