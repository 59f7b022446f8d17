#include "RowCompositing.h"

#include <algorithm>
#include <cstring>

#include "Compositing.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TANDEL_HAVE_AVX2_PATH 1
#endif

namespace tandel {

#if defined(__SSE2__)
namespace {

// Two pixels widened to 16-bit lanes, mixed by the rule. The colour lanes take
// (d * (255 - a) + s * a) >> 8 and the alpha lane d + ((255 - d) * a >> 8), which is the same
// shape: (d * (256 - a) + 255 * a) >> 8. So the alpha lane gets one more in the canvas weight
// and 255 in place of the source byte, and one formula serves all lanes.
inline __m128i blendTwo(__m128i d, __m128i s) {
    const __m128i c255 = _mm_set1_epi16(255);
    const __m128i alphaLane = _mm_set_epi16(1, 0, 0, 0, 1, 0, 0, 0);
    const __m128i alphaLane255 = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
    __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, _MM_SHUFFLE(3, 3, 3, 3)),
                                    _MM_SHUFFLE(3, 3, 3, 3));
    __m128i keep = _mm_add_epi16(_mm_sub_epi16(c255, a), alphaLane);
    __m128i source = _mm_or_si128(s, alphaLane255);
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d, keep), _mm_mullo_epi16(source, a)), 8);
}

}  // namespace
#endif

#if defined(TANDEL_HAVE_AVX2_PATH)
namespace {

// The same as blendTwo, four pixels at a time.
__attribute__((target("avx2"))) inline __m256i blendFour(__m256i d, __m256i s) {
    const __m256i c255 = _mm256_set1_epi16(255);
    const __m256i alphaLane = _mm256_set_epi16(1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0);
    const __m256i alphaLane255 =
        _mm256_set_epi16(255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0);
    __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s, _MM_SHUFFLE(3, 3, 3, 3)),
                                       _MM_SHUFFLE(3, 3, 3, 3));
    __m256i keep = _mm256_add_epi16(_mm256_sub_epi16(c255, a), alphaLane);
    __m256i source = _mm256_or_si256(s, alphaLane255);
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(d, keep), _mm256_mullo_epi16(source, a)), 8);
}

// Eight pixels at a time; returns how many pixels it handled.
__attribute__((target("avx2"))) int blendRowAvx2(std::uint8_t* dst, const std::uint8_t* src,
                                                 int count) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i opaque = _mm256_set1_epi32(int(0xFF000000u));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 4 * i));
        __m256i isOpaque = _mm256_cmpeq_epi32(_mm256_and_si256(s, opaque), opaque);
        __m256i isClear = _mm256_cmpeq_epi32(_mm256_srli_epi32(s, 24), zero);
        if (_mm256_movemask_epi8(isOpaque) == -1) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 4 * i), s);
            continue;
        }
        if (_mm256_movemask_epi8(isClear) == -1) {
            continue;
        }
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + 4 * i));
        __m256i low = blendFour(_mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(s, zero));
        __m256i high = blendFour(_mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(s, zero));
        __m256i mixed = _mm256_packus_epi16(low, high);
        mixed = _mm256_blendv_epi8(mixed, s, isOpaque);
        mixed = _mm256_blendv_epi8(mixed, d, isClear);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 4 * i), mixed);
    }
    return i;
}

__attribute__((target("avx2"))) int copyRowOpaqueAvx2(std::uint8_t* dst, const std::uint8_t* src,
                                                      int count) {
    const __m256i opaque = _mm256_set1_epi32(int(0xFF000000u));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 4 * i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 4 * i), _mm256_or_si256(s, opaque));
    }
    return i;
}

bool hasAvx2() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}

}  // namespace
#endif

void blendRow(std::uint8_t* dst, const std::uint8_t* src, int count) {
    int i = 0;
#if defined(TANDEL_HAVE_AVX2_PATH)
    if (hasAvx2()) {
        i = blendRowAvx2(dst, src, count);
    }
#endif
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    for (; i + 4 <= count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i));
        __m128i a = _mm_srli_epi32(s, 24);
        __m128i isOpaque = _mm_cmpeq_epi32(_mm_and_si128(s, opaque), opaque);
        __m128i isClear = _mm_cmpeq_epi32(a, zero);
        int opaqueMask = _mm_movemask_epi8(isOpaque);
        if (opaqueMask == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), s);
            continue;
        }
        if (_mm_movemask_epi8(isClear) == 0xFFFF) {
            continue;
        }
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + 4 * i));
        __m128i low = blendTwo(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero));
        __m128i high = blendTwo(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero));
        __m128i mixed = _mm_packus_epi16(low, high);
        mixed = _mm_or_si128(_mm_and_si128(isOpaque, s), _mm_andnot_si128(isOpaque, mixed));
        mixed = _mm_or_si128(_mm_and_si128(isClear, d), _mm_andnot_si128(isClear, mixed));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), mixed);
    }
#endif
    for (; i < count; ++i) {
        blendPixel(dst + 4 * i, src + 4 * i, src[4 * i + 3]);
    }
}

void blendCoverageRow(std::uint8_t* dst, const std::uint32_t* coverage, std::uint32_t bgr,
                      int count) {
    // Built a run at a time in a small buffer, so that both loops stay vectorisable.
    constexpr int kRun = 256;
    alignas(32) std::uint32_t run[kRun];
    for (int start = 0; start < count; start += kRun) {
        const int n = std::min(kRun, count - start);
        const std::uint32_t* from = coverage + start;
        int i = 0;
#if defined(__SSE2__)
        const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
        const __m128i colour = _mm_set1_epi32(int(bgr));
        for (; i + 4 <= n; i += 4) {
            __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
            _mm_store_si128(reinterpret_cast<__m128i*>(run + i),
                            _mm_or_si128(_mm_and_si128(c, alphaMask), colour));
        }
#endif
        for (; i < n; ++i) {
            run[i] = (from[i] & 0xFF000000u) | bgr;
        }
        blendRow(dst + 4 * start, reinterpret_cast<const std::uint8_t*>(run), n);
    }
}

namespace {

// x / 255 rounded to nearest, for x up to 255 * 255.
unsigned divide255(unsigned x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

}  // namespace

void blendPremultipliedRow(std::uint8_t* dst, const std::uint8_t* src, int count) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i c255 = _mm_set1_epi16(255);
    const __m128i c128 = _mm_set1_epi16(128);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xFFFF) {
            continue;  // nothing painted here
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, opaque), opaque)) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), s);
            continue;
        }
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + 4 * i));
        auto scale = [&](__m128i dWide, __m128i sWide) {
            const __m128i a = _mm_shufflehi_epi16(
                _mm_shufflelo_epi16(sWide, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
            const __m128i t = _mm_add_epi16(_mm_mullo_epi16(dWide, _mm_sub_epi16(c255, a)), c128);
            return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
        };
        const __m128i low = scale(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero));
        const __m128i high = scale(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero));
        const __m128i mixed = _mm_adds_epu8(_mm_packus_epi16(low, high), s);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), _mm_or_si128(mixed, opaque));
    }
#endif
    for (; i < count; ++i) {
        const std::uint8_t* s = src + 4 * i;
        std::uint8_t* d = dst + 4 * i;
        const unsigned a = s[3];
        for (int c = 0; c < 3; ++c) {
            d[c] = std::uint8_t(std::min(255u, s[c] + divide255(d[c] * (255 - a))));
        }
        d[3] = 255;
    }
}

void copyRowOpaque(std::uint8_t* dst, const std::uint8_t* src, int count) {
    int i = 0;
#if defined(TANDEL_HAVE_AVX2_PATH)
    if (hasAvx2()) {
        i = copyRowOpaqueAvx2(dst, src, count);
    }
#endif
#if defined(__SSE2__)
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    for (; i + 4 <= count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), _mm_or_si128(s, opaque));
    }
#endif
    for (; i < count; ++i) {
        std::memcpy(dst + 4 * i, src + 4 * i, 3);
        dst[4 * i + 3] = 255;
    }
}

}  // namespace tandel
