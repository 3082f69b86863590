#include "sspmv.h"

void sspmv(std::uint32_t n, const Real *a, const std::uint32_t *ia, const std::uint32_t *ja,
           const Real *__restrict x, Real *__restrict y)
{
  if (n == 0)
    return;
  for (std::uint32_t i = 0; i < n; ++i)
    y[i] = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    const Real xi = x[i];
    Real t = a[ia[i]] * xi;
    for (std::uint32_t k = ia[i] + 1; k < ia[i + 1]; ++k) {
      const std::uint32_t j = ja[k];
      t = t + a[k] * x[j];
      y[j] = a[k] * xi + y[j];
    }
    y[i] = t + y[i];
  }
}
