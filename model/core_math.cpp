#include "model/core_math.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

namespace sp {
namespace {

// sin r ≈ r + r³·(S1 + r²·(S2 + … + r²·S6)), cos r ≈ 1 − r²/2 + r⁴·(C1 + … + r²·C6)
constexpr double S1 = -1.66666666666666324348e-01;
constexpr double S2 = 8.33333333332248946124e-03;
constexpr double S3 = -1.98412698298579493134e-04;
constexpr double S4 = 2.75573137070700676789e-06;
constexpr double S5 = -2.50507602534068634195e-08;
constexpr double S6 = 1.58969099521155010221e-10;
constexpr double C1 = 4.16666666666666019037e-02;
constexpr double C2 = -1.38888888888741095749e-03;
constexpr double C3 = 2.48015872894767294178e-05;
constexpr double C4 = -2.75573143513906633035e-07;
constexpr double C5 = 2.08757232129817482790e-09;
constexpr double C6 = -1.13596475577881948265e-11;

// sin(x + y) for |x| ≤ π/4 and |y| below half a unit of x
double sin_kernel(double x, double y)
{
    const double z = x * x;
    const double v = z * x;
    const double r = S2 + z * (S3 + z * (S4 + z * (S5 + z * S6)));
    return x - ((z * (0.5 * y - v * r) - y) - v * S1);
}

// cos(x + y); 1 − z/2 is formed so that its rounding error is added back
double cos_kernel(double x, double y)
{
    const double z = x * x;
    const double w2 = z * z;
    const double r = z * (C1 + z * (C2 + z * C3)) + w2 * w2 * (C4 + z * (C5 + z * C6));
    const double hz = 0.5 * z;
    const double w = 1.0 - hz;
    return w + (((1.0 - w) - hz) + (z * r - x * y));
}

// π/2 in 33-bit pieces, each with the rest of π/2 after it, and 2/π
constexpr double kInvPio2 = 0x1.45f306dc9c883p-1;
constexpr double kPio2_1 = 0x1.921fb54400000p+0;
constexpr double kPio2_1t = 0x1.0b4611a626331p-34;
constexpr double kPio2_2 = 0x1.0b4611a600000p-34;
constexpr double kPio2_2t = 0x1.3198a2e037073p-69;
constexpr double kPio2_3 = 0x1.3198a2e000000p-69;
constexpr double kPio2_3t = 0x1.b839a252049c1p-104;
constexpr double kPio2Hi = 0x1.921fb54442d18p+0;
constexpr double kPio2Lo = 0x1.1a62633145c07p-54;

// The bits of 2/π after the binary point, 32 to an entry: enough for any finite double.
constexpr std::uint32_t kTwoOverPi[] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041, 0xFE5163AB,
    0xDEBBC561, 0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C, 0xFE1DEB1C, 0xB129A73E,
    0xE88235F5, 0x2EBB4484, 0xE99C7026, 0xB45F7E41, 0x3991D639, 0x835339F4, 0x9C845F8B,
    0xBDF9283B, 0x1FF897FF, 0xDE05980F, 0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7,
    0x4F463F66, 0x9E5FEA2D, 0x7527BAC7, 0xEBE5F17B, 0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1,
    0x1F8D5D08, 0x56033046, 0xFC7B6BAB, 0xF0CFBC20, 0x9AF4361D, 0xA9E39161, 0x5EE61B08,
};

// (std::bit_cast is missing from the WebAssembly build's C++ library)
std::uint64_t bits_of(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

int biased_exponent(double v)
{
    return static_cast<int>((bits_of(v) >> 52) & 0x7FF);
}

struct Reduced {
    int quadrant;  // n mod 4
    double hi, lo;  // r = hi + lo
};

// |x| < 2^20·π/2: n·piece is exact for a 33-bit piece, so each subtraction loses nothing
// but the rest of π/2, and a third piece is taken only when x lies so close to a multiple
// of π/2 that the first two cancel most of it.
Reduced reduce_medium(double x)
{
    const double fn = std::floor(x * kInvPio2 + 0.5);
    const int e = biased_exponent(x);
    double r = x - fn * kPio2_1;
    double w = fn * kPio2_1t;
    double y0 = r - w;
    if (e - biased_exponent(y0) > 16) {
        double t = r;
        w = fn * kPio2_2;
        r = t - w;
        w = fn * kPio2_2t - ((t - r) - w);
        y0 = r - w;
        if (e - biased_exponent(y0) > 49) {
            t = r;
            w = fn * kPio2_3;
            r = t - w;
            w = fn * kPio2_3t - ((t - r) - w);
            y0 = r - w;
        }
    }
    const double y1 = (r - y0) - w;
    const auto n = static_cast<std::int64_t>(fn);
    return {static_cast<int>(n & 3), y0, y1};
}

// a·b exactly as hi + lo, by halving both factors into 26-bit parts (no fused multiply-add)
void exact_product(double a, double b, double& hi, double& lo)
{
    constexpr double kSplit = 134217729.0;  // 2^27 + 1
    const double ca = kSplit * a, cb = kSplit * b;
    const double ah = ca - (ca - a), al = a - ah;
    const double bh = cb - (cb - b), bl = b - bh;
    hi = a * b;
    lo = ((ah * bh - hi) + ah * bl + al * bh) + al * bl;
}

// Any larger finite x = m·2^e: x·2/π modulo 4 needs only the bits of 2/π from about the
// e-th on, the earlier ones giving multiples of 4. Eight words of them times the 53-bit m,
// in 32-bit limbs, leave at least 222 bits after the point; the nearest integer's last two
// bits are n mod 4 and the first 128 bits of the rest, times π/2, are r.
Reduced reduce_large(double x)
{
    const std::uint64_t bits = bits_of(x);
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int e = biased_exponent(x) - 1075;
    const int k0 = e >= 34 ? (e - 2) / 32 : 0;
    constexpr int kWords = 8;
    const int point = 32 * (k0 + kWords) - e;  // bits of the product after the binary point

    std::uint32_t p[kWords + 2] = {};  // least significant first
    const std::uint64_t mw[2] = {m & 0xFFFFFFFF, m >> 32};
    for (int j = 0; j < 2; ++j) {
        std::uint64_t carry = 0;
        for (int i = 0; i < kWords; ++i) {
            const std::uint64_t word = kTwoOverPi[k0 + kWords - 1 - i];
            const std::uint64_t t = mw[j] * word + p[i + j] + carry;
            p[i + j] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        for (int i = kWords + j; carry != 0 && i < kWords + 2; ++i) {
            const std::uint64_t t = std::uint64_t{p[i]} + carry;
            p[i] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
    }
    const auto bit = [&](int i) -> std::uint64_t {
        return i < 0 || i >= 32 * (kWords + 2) ? 0 : (p[i / 32] >> (i % 32)) & 1;
    };
    // 128 bits after the point, most significant first
    std::uint64_t fh = 0, fl = 0;
    for (int i = 1; i <= 64; ++i)
        fh = (fh << 1) | bit(point - i);
    for (int i = 65; i <= 128; ++i)
        fl = (fl << 1) | bit(point - i);
    int quadrant = static_cast<int>(bit(point) | (bit(point + 1) << 1));
    bool negative = false;
    if (fh >> 63) {  // a half or more: to the next integer, the rest is negative
        quadrant = (quadrant + 1) & 3;
        negative = true;
        fl = ~fl + 1;
        fh = ~fh + (fl == 0 ? 1 : 0);
    }
    int shift = 0;  // leading zeros of the 128-bit fraction
    while (shift < 128 && ((shift < 64 ? fh >> (63 - shift) : fl >> (127 - shift)) & 1) == 0)
        ++shift;
    if (shift == 128)
        return {quadrant, 0.0, 0.0};
    if (shift >= 64) {
        fh = fl;
        fl = 0;
        shift -= 64;
        fh <<= shift;
        shift += 64;
    } else if (shift > 0) {
        fh = (fh << shift) | (fl >> (64 - shift));
        fl <<= shift;
    }
    // the fraction is (fh·2^64 + fl)·2^(−128−shift); its top 53 and next 43 bits
    const double a = std::ldexp(static_cast<double>(fh >> 11), -53 - shift);
    const double b =
        std::ldexp(static_cast<double>(((fh & 0x7FF) << 32) | (fl >> 32)), -96 - shift);
    double hi = 0, lo = 0;
    exact_product(a, kPio2Hi, hi, lo);
    lo += a * kPio2Lo + b * kPio2Hi;
    const double y0 = hi + lo;
    double y1 = lo - (y0 - hi);
    double r0 = y0;
    if (negative) {
        r0 = -r0;
        y1 = -y1;
    }
    return {quadrant, r0, y1};
}

Reduced reduce(double x)
{
    const double ax = std::fabs(x);
    Reduced r = ax < 0x1.921fb5p+20 ? reduce_medium(ax) : reduce_large(ax);
    if (x < 0) {
        r.quadrant = (4 - r.quadrant) & 3;
        r.hi = -r.hi;
        r.lo = -r.lo;
    }
    return r;
}

}  // namespace

double sine(double x)
{
    if (std::fabs(x) <= 0x1.921fb54442d18p-1)
        return sin_kernel(x, 0.0);
    if (!std::isfinite(x))
        return x - x;
    const Reduced r = reduce(x);
    switch (r.quadrant) {
    case 0: return sin_kernel(r.hi, r.lo);
    case 1: return cos_kernel(r.hi, r.lo);
    case 2: return -sin_kernel(r.hi, r.lo);
    default: return -cos_kernel(r.hi, r.lo);
    }
}

double cosine(double x)
{
    if (std::fabs(x) <= 0x1.921fb54442d18p-1)
        return cos_kernel(x, 0.0);
    if (!std::isfinite(x))
        return x - x;
    const Reduced r = reduce(x);
    switch (r.quadrant) {
    case 0: return cos_kernel(r.hi, r.lo);
    case 1: return -sin_kernel(r.hi, r.lo);
    case 2: return -cos_kernel(r.hi, r.lo);
    default: return sin_kernel(r.hi, r.lo);
    }
}

namespace {

// atan r ≈ r − r³·(aT0 + r²·(aT1 + …)) on |r| ≤ 7/16, even and odd powers summed apart
constexpr double kAT[] = {
    3.33333333333329318027e-01,  -1.99999999998764832476e-01, 1.42857142725034663711e-01,
    -1.11111104054623557880e-01, 9.09088713343650656196e-02,  -7.69187620504482999495e-02,
    6.66107313738753120669e-02,  -5.83357013379057348645e-02, 4.97687799461593236017e-02,
    -3.65315727442169155270e-02, 1.62858201153657823623e-02,
};
// atan ½, atan 1, atan 3⁄2, atan ∞ as high and low parts
constexpr double kAtanHi[] = {0x1.dac670561bb4fp-2, 0x1.921fb54442d18p-1, 0x1.f730bd281f69bp-1,
                              0x1.921fb54442d18p+0};
constexpr double kAtanLo[] = {0x1.a2b7f222f65e2p-56, 0x1.1a62633145c07p-55, 0x1.007887af0cbbdp-56,
                              0x1.1a62633145c07p-54};
constexpr double kPiHi = 0x1.921fb54442d18p+1;
constexpr double kPiLo = 0x1.1a62633145c07p-53;

}  // namespace

double arctan(double x)
{
    if (std::isnan(x))
        return x + x;
    const double ax = std::fabs(x);
    if (ax >= 0x1p66)
        return std::copysign(kAtanHi[3] + kAtanLo[3], x);
    int id = -1;
    double r = x;
    if (ax >= 0.4375) {
        if (ax < 1.1875) {
            if (ax < 0.6875) {
                id = 0;
                r = (2.0 * ax - 1.0) / (2.0 + ax);
            } else {
                id = 1;
                r = (ax - 1.0) / (ax + 1.0);
            }
        } else if (ax < 2.4375) {
            id = 2;
            r = (ax - 1.5) / (1.0 + 1.5 * ax);
        } else {
            id = 3;
            r = -1.0 / ax;
        }
    } else if (ax < 0x1p-27) {
        return x;
    }
    const double z = r * r;
    const double w = z * z;
    const double s1 = z * (kAT[0] + w * (kAT[2] + w * (kAT[4] + w * (kAT[6] + w * (kAT[8] + w * kAT[10])))));
    const double s2 = w * (kAT[1] + w * (kAT[3] + w * (kAT[5] + w * (kAT[7] + w * kAT[9]))));
    if (id < 0)
        return r - r * (s1 + s2);
    const double a = kAtanHi[id] - ((r * (s1 + s2) - kAtanLo[id]) - r);
    return x < 0 ? -a : a;
}

namespace {

// atan(a/b) for positive a, b: the quotient's rounding error, found exactly, is added as
// the first term of atan's Taylor series about the rounded quotient.
double quotient_arctan(double a, double b)
{
    const double q = a / b;
    double qb = 0, qb_lo = 0;
    exact_product(q, b, qb, qb_lo);
    const double dq = ((a - qb) - qb_lo) / b;
    const double atan_q = arctan(q);
    if (!std::isfinite(qb) || !std::isfinite(dq))
        return atan_q;
    return atan_q + dq / (1.0 + q * q);
}

}  // namespace

double arctan2(double y, double x)
{
    if (std::isnan(x) || std::isnan(y))
        return x + y;
    if (x == 1.0)
        return arctan(y);
    const bool y_negative = std::signbit(y);
    const bool x_negative = std::signbit(x);
    if (y == 0)
        return x_negative ? (y_negative ? -kPiHi : kPiHi) : y;
    if (x == 0)
        return y_negative ? -(kAtanHi[3] + kAtanLo[3]) : kAtanHi[3] + kAtanLo[3];
    if (std::isinf(x)) {
        if (std::isinf(y)) {
            const double q = x_negative ? 3 * kAtanHi[1] : kAtanHi[1];
            return y_negative ? -q : q;
        }
        const double q = x_negative ? kPiHi : 0.0;
        return y_negative ? -q : q;
    }
    if (std::isinf(y))
        return y_negative ? -kAtanHi[3] : kAtanHi[3];
    // |y/x| beyond 2^60 is π/2 to the last bit; below 2^−60 with x < 0 it adds nothing to π
    const int k = biased_exponent(y) - biased_exponent(x);
    double z;
    if (k > 60)
        z = kAtanHi[3] + 0.5 * kPio2Lo;
    else if (x_negative && k < -60)
        z = 0.0;
    else
        z = quotient_arctan(std::fabs(y), std::fabs(x));
    if (!x_negative)
        return y_negative ? -z : z;
    const double q = kPiHi - (z - kPiLo);
    return y_negative ? -q : q;
}

double hypotenuse(double a, double b)
{
    a = std::fabs(a);
    b = std::fabs(b);
    if (std::isinf(a) || std::isinf(b))
        return INFINITY;
    if (std::isnan(a) || std::isnan(b))
        return a + b;
    if (a < b)
        std::swap(a, b);
    if (b == 0)
        return a;
    int e = 0;
    const double sa = std::frexp(a, &e);
    const double sb = std::ldexp(b, -e);
    // the sum of the squares to twice the double precision, its root corrected by a Newton
    // step with the root's own square found exactly
    double aa = 0, aa_lo = 0, bb = 0, bb_lo = 0;
    exact_product(sa, sa, aa, aa_lo);
    exact_product(sb, sb, bb, bb_lo);
    const double s = aa + bb;
    const double s_lo = ((aa - s) + bb) + aa_lo + bb_lo;
    const double sum = s + s_lo;
    const double sum_lo = s_lo - (sum - s);
    const double r = std::sqrt(sum);
    double rr = 0, rr_lo = 0;
    exact_product(r, r, rr, rr_lo);
    const double corrected = r + (((sum - rr) - rr_lo) + sum_lo) / (2.0 * r);
    return std::ldexp(corrected, e);
}

}  // namespace sp
