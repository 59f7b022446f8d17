#include "FaceAliases.h"

namespace tandel {
namespace {

constexpr std::string_view kMing = "AR PL UMing CN";
constexpr std::string_view kKai = "AR PL UKai CN";
constexpr std::string_view kZenHei = "WenQuanYi Zen Hei";

// Each Latin face is followed by a Chinese family of the same look, so Chinese characters in a
// Latin face are drawn in a matching style rather than whatever the system lists first.
// FangSong is a Song design with even strokes: Ming is closer to it than Kai.
constexpr FaceAlias kAliases[] = {
    {"宋体", true, {kMing, kZenHei, {}}},
    {"SimSun", true, {kMing, kZenHei, {}}},
    {"新宋体", true, {kMing, kZenHei, {}}},
    {"NSimSun", true, {kMing, kZenHei, {}}},
    {"黑体", true, {kZenHei, kMing, {}}},
    {"SimHei", true, {kZenHei, kMing, {}}},
    {"微软雅黑", true, {kZenHei, kMing, {}}},
    {"Microsoft YaHei", true, {kZenHei, kMing, {}}},
    {"楷体", true, {kKai, kMing, {}}},
    {"KaiTi", true, {kKai, kMing, {}}},
    {"楷体_GB2312", true, {kKai, kMing, {}}},
    {"KaiTi_GB2312", true, {kKai, kMing, {}}},
    {"仿宋", true, {kMing, kZenHei, {}}},
    {"FangSong", true, {kMing, kZenHei, {}}},
    {"仿宋_GB2312", true, {kMing, kZenHei, {}}},
    {"FangSong_GB2312", true, {kMing, kZenHei, {}}},
    {"Arial", false, {"Liberation Sans", "DejaVu Sans", kZenHei}},
    {"Tahoma", false, {"Liberation Sans", "DejaVu Sans", kZenHei}},
    {"Verdana", false, {"Liberation Sans", "DejaVu Sans", kZenHei}},
    {"Times New Roman", false, {"Liberation Serif", "DejaVu Serif", kMing}},
    {"Courier New", false, {"Liberation Mono", "DejaVu Sans Mono", "WenQuanYi Zen Hei Mono"}},
};

constexpr std::string_view kHeader =
    "<?xml version=\"1.0\"?>\n"
    "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
    "<fontconfig>\n";
constexpr std::string_view kFooter = "</fontconfig>\n";

}  // namespace

std::span<const FaceAlias> faceAliases() {
    return kAliases;
}

std::string faceAliasRules() {
    std::string xml(kHeader);
    for (const FaceAlias& alias : kAliases) {
        // binding "same" keeps the skin's family strong: a weak family would rank below the
        // language match and any Chinese font could win.
        xml += "<alias binding=\"same\"><family>";
        xml += alias.face;
        xml += "</family><prefer>";
        for (std::string_view family : alias.families) {
            if (!family.empty()) {
                xml += "<family>";
                xml += family;
                xml += "</family>";
            }
        }
        xml += "</prefer></alias>\n";
    }
    xml += kFooter;
    return xml;
}

std::string renderingRules() {
    std::string xml(kHeader);
    // Strong, so that it outranks the system's weak generic families: a face that is not
    // installed falls to 宋体's family (as GDI substitutes the Chinese system face) on every
    // machine, and so do characters the named families lack.
    xml += "<match target=\"pattern\"><edit name=\"family\" mode=\"append_last\" ";
    xml += "binding=\"strong\"><string>";
    xml += kMing;
    xml += "</string><string>";
    xml += kZenHei;
    xml += "</string></edit></match>\n";
    xml +=
        "<match target=\"font\">"
        "<edit name=\"antialias\" mode=\"assign\"><bool>true</bool></edit>"
        "<edit name=\"rgba\" mode=\"assign\"><const>none</const></edit>"
        "</match>\n";
    xml += kFooter;
    return xml;
}

}  // namespace tandel
