#include "link/write_verify.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace baldo7 {

void RecordWrittenFrame(WrittenBlocks& blocks, const Bytes& frame) {
    if (frame.size() != static_cast<std::size_t>(kDataFrameSize) || frame[0] != wire::kDataBlock)
        return;
    WrittenBlock block;
    block.address = frame[1] * 256 + frame[2];
    std::copy(frame.begin() + 4, frame.end(), block.data.begin());
    blocks.push_back(block);
}

TransferRange ReadBackRange(const WrittenBlocks& blocks) {
    TransferRange range;
    if (blocks.empty()) return range;
    const auto [low, high] = std::minmax_element(
        blocks.begin(), blocks.end(),
        [](const WrittenBlock& a, const WrittenBlock& b) { return a.address < b.address; });
    range.first = low->address;
    range.end = high->address + kBlockSize;
    range.progressStart = range.first;
    return range;
}

VerifyResult CompareReadBack(const WrittenBlocks& written, const WrittenBlocks& returned) {
    // The last frame sent for an address is what the radio keeps.
    std::map<int, const WrittenBlock*> last, back;
    for (const WrittenBlock& b : written) last[b.address] = &b;
    for (const WrittenBlock& b : returned) back[b.address] = &b;
    // Blocks in address order, bytes in order: the first found are the lowest.
    VerifyResult result;
    for (const auto& [address, block] : last) {
        const auto found = back.find(address);
        for (int i = 0; i < kBlockSize; ++i) {
            const auto at = static_cast<std::size_t>(i);
            if (found != back.end() && found->second->data[at] == block->data[at]) continue;
            ++result.differing;
            result.bytes.push_back(
                {address + i, block->data[at], found != back.end() ? found->second->data[at] : -1});
            if (static_cast<int>(result.firstAddresses.size()) < VerifyResult::kAddressesNamed)
                result.firstAddresses.push_back(address + i);
        }
    }
    return result;
}

std::string VerifyReportText(const VerifyResult& result, bool english) {
    if (result.ok()) return english ? "Verify OK" : "校验成功";
    std::string addresses;
    for (int a : result.firstAddresses) {
        char text[8];
        std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(a));
        if (!addresses.empty()) addresses += english ? ", " : "、";
        addresses += text;
    }
    const std::string count = std::to_string(result.differing);
    if (english)
        return "Verify failed: " + count +
               (result.differing == 1 ? " byte differs" : " bytes differ") +
               " from what was written, first at " + addresses;
    return "校验失败：对讲机中有 " + count + " 个字节与写入的数据不同（" +
           (result.differing == 1 ? "位于 " : "最前面的位于 ") + addresses + "）";
}

}  // namespace baldo7
