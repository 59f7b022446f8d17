#include "SkinInfo.h"

#include <regex>

#include "SkinDate.h"
#include "SkinSignature.h"
#include "TextCodec.h"

namespace tandel {

bool isAcceptedEmail(const std::string& gbkAddress) {
    static const std::regex pattern(R"(([0-9A-Za-z\-_\.]+)@([0-9a-z]+\.[a-z]{2,3}(\.[a-z]{2})?))",
                                    std::regex::ECMAScript);
    return std::regex_match(gbkAddress, pattern);
}

std::u16string withCrLf(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) {
            out += u'\r';
        }
        out += text[i];
    }
    return out;
}

std::string applySkinInfo(SkinFileHeader& header, const SkinInfoFields& fields,
                          EmailRule emailRule) {
    if (fields.name.empty()) {
        return "皮肤名字不能为空，请重新填写。";
    }
    if (fields.name.size() >= 32) {
        return "皮肤名字长度不能超过31个字符，请重新填写。";
    }
    setFixedText(header.name, fields.name);
    if (fields.author.empty()) {
        return "作者名字不能为空，请重新填写。";
    }
    if (fields.author.size() >= 32) {
        return "作者名字长度不能超过31个字符，请重新填写。";
    }
    setFixedText(header.author, fields.author);
    if (!(fields.email.empty() && emailRule == EmailRule::OptionalWhenEmpty)) {
        if (fields.email.empty()) {
            return "邮箱不能为空，请重新填写。";
        }
        if (fields.email.size() >= 32) {
            return "邮箱不能长度不能超过31个字符，请重新填写。";
        }
        if (!isAcceptedEmail(utf16ToGbk(fields.email))) {
            return "邮箱内容格式不正确，请重新填写。";
        }
        setFixedText(header.email, fields.email);
    }
    std::u16string description = withCrLf(fields.description);
    if (description.size() >= 128) {
        return "说明最大长度不超过127个文字，请重新填写。";
    }
    setFixedText(header.description, description);

    std::u16string date = utf8ToUtf16(makeDateString());
    setFixedText(header.date, date);
    header.revision = std::uint16_t((header.revision & 0xFF) + 1);
    storeDigest(header.signature, makeSignature(fields.name, fields.author, date));
    return {};
}

}  // namespace tandel
