#pragma once
// The elementary functions of the core: sine, cosine, arctangent and hypotenuse. Every build
// computes runs and their analyses with these, not with its platform's library: two C
// libraries round sin(x) differently in the last bit for a few per cent of arguments, which
// is enough for the desktop and the browser to part on a long or chaotic run, and hypot and
// atan2 differ alike in the digits the CSV prints. Plain double arithmetic in a fixed order,
// compiled without contraction into fused multiply-adds, gives the same bits on every machine.
//
// The argument is reduced to r = x − n·π/2, |r| ≤ π/4, carried as a sum of two doubles:
// by π/2 split into 33-bit pieces (exact products with n < 2^20) for |x| < 2^20·π/2, and
// beyond that by the bits of 2/π taken from where x's exponent puts them (Payne–Hanek).
// sin and cos of r are odd and even polynomials of degree 13 and 14 fitted for the least
// greatest error on [−π/4, π/4]. The result is within one unit in the last place.

namespace sp {

double sine(double x);
double cosine(double x);

// atan(x) from a reduction to |x| ≤ 7/16 by four reference points (atan ½, 1, 3⁄2, ∞, each as
// two doubles) and an odd polynomial of degree 23, within 0.83 units; atan2(y, x) from it
// with the quotient's rounding made good, within 1.3 units (π − atan for x < 0 rounds twice).
double arctan(double x);
double arctan2(double y, double x);

// sqrt(a² + b²) without overflow or underflow on the way: scaled by a power of two (exact)
// so the larger is in [½, 1), squared and summed exactly to twice the double precision, and
// the square root (correctly rounded everywhere) corrected and scaled back; within 0.5 units.
double hypotenuse(double a, double b);

}  // namespace sp
