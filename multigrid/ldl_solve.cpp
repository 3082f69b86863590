#include "ldl_solve.h"

#include <vector>

void ldl_solve(const CholFactor &chol, const Real *x, Real *y)
{
  const std::uint32_t n = chol.ld.n;
  std::vector<double> w(n);
  if (n == 0)
    return;
  const double *la = chol.ld.a, *ua = chol.ldT.a;
  const std::uint32_t *lia = chol.ld.ia, *lja = chol.ld.ja;
  const std::uint32_t *uia = chol.ldT.ia, *uja = chol.ldT.ja;

  for (std::uint32_t i = 0; i < n; ++i)
    w[i] = static_cast<double>(x[chol.p[i]]);
  for (std::uint32_t i = 1; i < n; ++i)
    for (std::uint32_t k = lia[i]; k < lia[i + 1] - 1; ++k)
      w[i] = w[i] - la[k] * w[lja[k]];
  for (std::uint32_t i = 0; i < n; ++i)
    w[i] = w[i] / la[lia[i + 1] - 1];
  for (std::uint32_t i = n - 1; i-- > 0;)
    for (std::uint32_t k = uia[i + 1] - 1; k > uia[i]; --k)
      w[i] = w[i] - w[uja[k]] * ua[k];
  for (std::uint32_t i = 0; i < n; ++i)
    y[i] = static_cast<Real>(w[chol.invp[i]]);
}
