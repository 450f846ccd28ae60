// Texts of the radio service tools, English and Chinese.
#pragma once

#include "core/texts.h"

namespace baldo7::service_texts {

// Shared by the tools that write a range of their own.
constexpr BiText kWrite{"&Write", "写入(&W)"};
constexpr BiText kWriteConfirm{"Write Data into Raido.Do you wish continue?",
                               "向对讲机写入本机信息？"};
constexpr BiText kWriteSuccessful{"Write data successful", "写入数据成功"};
constexpr BiText kReadSuccessful{"Read data successful", "读取数据成功"};
constexpr BiText kOk{"&OK", "确定(&O)"};
constexpr BiText kCancel{"&Cancel", "取消(&C)"};

// Program password.
constexpr BiText kPasswordCaption{"Program Password", "编程密码"};
constexpr BiText kPasswordLabel{"Password", "密码"};
constexpr BiText kChange{"Chann&ge", "修改(&G)"};
constexpr BiText kPasswordChangeCaption{"Change Password", "编程密码"};
constexpr BiText kOldPassword{"OldPassword", "旧密码"};
constexpr BiText kNewPassword{"NewPassword", "新密码"};
constexpr BiText kNewPasswordVerify{"NewPassword verify", "新密码确认"};
constexpr BiText kPasswordsDiffer{"Different between two new passowrds", "新密码不一致"};
constexpr BiText kChangeConfirm{"Change password?", "修改密码？"};
constexpr BiText kChangeSuccessful{"Change password successful", "修改密码成功"};

// Local message.
constexpr BiText kLocalCaption{"Local Message", "本机信息"};
constexpr BiText kAreaCode{"Area Code", "销售区号"};
constexpr BiText kManufactureCode{"Manufacture Code", "生产批号"};
constexpr BiText kUserCode{"User Code", "客户代码"};
constexpr BiText kRadioType{"Radio Typye", "机型"};
constexpr BiText kFrequencyArea{"Frequency Area", "频段"};
constexpr BiText kSerialNumber{"Serial Number", "序列号"};
constexpr BiText kProductedDate{"Producted Date", "出厂日期"};
constexpr BiText kMaintainedDate{"Maintained Date", "维修日期"};
constexpr BiText kVersion{"Version", "固件版本"};
constexpr BiText kMaintainedDescription{"Maintained Description", "维修原因"};
constexpr BiText kSellerInformation{"Seller Information", "销售商信息"};
constexpr BiText kDealerCode{"Dealer Code", "经销商代码"};
constexpr BiText kStockDate{"Stock Date", "入库时间"};
constexpr BiText kSellDate{"Sell Date", "销售时间"};
constexpr BiText kSeller{"Seller", "经手人"};

// Stun and die.
constexpr BiText kStunCaption{"Stun Option", "遥晕遥毙选项"};
constexpr BiText kStatus{"Status", "遥毙状态"};
constexpr BiText kStatusNormal{"Normal", "正常"};
constexpr BiText kStatusStun{"Stun", "遥晕"};
constexpr BiText kStatusDie{"Die", "遥毙"};
constexpr BiText kDtmfCode{"DTMF Code", "遥晕码/遥毙码"};
constexpr BiText kStunCode{"Stun Code", "遥晕码"};
constexpr BiText kDieCode{"Die Code", "遥毙码"};
constexpr BiText kAckType{"Call Response Type", "呼叫响应方式"};
constexpr BiText kAckChord{"Chord", "和弦"};
constexpr BiText kAckRing{"Ring", "振铃"};
constexpr BiText kStunEnable{"Stun/Die Enable", "遥晕遥毙使能"};
constexpr BiText kCodeTooShort{"Code must longer than 5", "至少要6个码"};

// Tune data.
constexpr BiText kTuneCaption{"Tune Data", "调谐数据"};
constexpr BiText kWriteTune{"Write TuneData", "写调谐数据"};
constexpr BiText kReadTune{"Read TuneData", "读调谐数据"};
constexpr BiText kReadTuneConfirm{"Read tune data from radio.Do you wish continue?",
                                  "从对讲机读取调谐数据？"};
constexpr BiText kWriteTuneConfirm{"Write tune data into radio.Do you wish continue?",
                                   "向对讲机写入调谐数据？"};
constexpr BiText kTuneRowHeaders[4] = {
    {"Freq", "频率"}, {"SQ", "灵敏度"}, {"TX High", "低功率"}, {"TX Low", "高功率"}};
constexpr BiText kSqDetect{"Sq Detect", "静噪检测"};
constexpr BiText kDetectionHeaders[8] = {
    {"Detection1(W)", "检测1(宽) "}, {"Detection2(W)", "检测2(宽)"},
    {"Detection3(W)", "检测3(宽)"},  {"Detection4(W)", "检测4(宽)"},
    {"Detection1(N)", "检测1(窄) "}, {"Detection2(N)", "检测2(窄)"},
    {"Detection3(N)", "检测3(窄)"},  {"Detection4(N)", "检测4(窄)"}};
constexpr BiText kHighThreshold{"High Threshlod", "高阀值"};
constexpr BiText kLowThreshold{"Low Threshlod", "低阀值"};
constexpr BiText kBandWide{"BandWide(0.1KHz):", "最大频率偏移(0.1KHz):"};

// Special option.
constexpr BiText kSpecialCaption{"Special Option", "特殊选项"};
constexpr BiText kRxVoice{"RX Voice Level:", "接收声音等级:"};

}  // namespace baldo7::service_texts
