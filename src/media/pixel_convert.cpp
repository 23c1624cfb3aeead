// 5-6-5 to XRGB 8-8-8-8, eight pixels at a time with SSE2 (every x86-64 has
// it) and one at a time elsewhere and for the tail.
#include "media/pixel_convert.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

void Convert565ToXrgb(const uint16_t* source, uint32_t* target, int count) {
    int i = 0;
#ifdef __SSE2__
    const __m128i lowFive = _mm_set1_epi16(0x1F), lowSix = _mm_set1_epi16(0x3F);
    for (; i + 8 <= count; i += 8) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i r = _mm_srli_epi16(p, 11);
        const __m128i g = _mm_and_si128(_mm_srli_epi16(p, 5), lowSix);
        const __m128i b = _mm_and_si128(p, lowFive);
        const __m128i r8 = _mm_or_si128(_mm_slli_epi16(r, 3), _mm_srli_epi16(r, 2));
        const __m128i g8 = _mm_or_si128(_mm_slli_epi16(g, 2), _mm_srli_epi16(g, 4));
        const __m128i b8 = _mm_or_si128(_mm_slli_epi16(b, 3), _mm_srli_epi16(b, 2));
        const __m128i greenBlue = _mm_or_si128(_mm_slli_epi16(g8, 8), b8);  // 16-bit GGBB
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), _mm_unpacklo_epi16(greenBlue, r8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i + 4), _mm_unpackhi_epi16(greenBlue, r8));
    }
#endif
    for (; i < count; ++i) target[i] = XrgbFrom565(source[i]);
}
