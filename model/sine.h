#pragma once
// The sine and cosine of the core. Every build computes a run with these, not with its
// platform's library: two C libraries round sin(x) differently in the last bit for a few per
// cent of arguments, which is enough for the desktop and the browser to part on a long or
// chaotic run. Plain double arithmetic in a fixed order, compiled without contraction into
// fused multiply-adds, gives the same bits on every machine.
//
// The argument is reduced to r = x − n·π/2, |r| ≤ π/4, carried as a sum of two doubles:
// by π/2 split into 33-bit pieces (exact products with n < 2^20) for |x| < 2^20·π/2, and
// beyond that by the bits of 2/π taken from where x's exponent puts them (Payne–Hanek).
// sin and cos of r are odd and even polynomials of degree 13 and 14 fitted for the least
// greatest error on [−π/4, π/4]. The result is within one unit in the last place.

namespace sp {

double sine(double x);
double cosine(double x);

}  // namespace sp
