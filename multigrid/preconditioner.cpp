#include "preconditioner.h"

#include "ldl_solve.h"
#include "rmvec.h"
#include "sspmv.h"
#include "vmv.h"
#include "vpv.h"
#include "vvmul.h"

namespace {

// One weighted Jacobi sweep x = x + invD .* (b - A*x), with t as workspace.
void sweep(const LevelRecord &V, const Real *b, Real *t, Real *x)
{
  const std::uint32_t n = V.A.n;
  sspmv(n, V.A.a, V.A.ia, V.A.ja, x, t);
  vmv(b, t, t, n);
  vvmul(V.invD, t, t, n);
  vpv(x, t, x, n);
}

} // namespace

void preconditioner(const LevelRecord *levels, const Real *b, std::int32_t depth,
                    std::int32_t cycles, Real *x)
{
  const LevelRecord &V = levels[depth];
  const std::uint32_t n = V.A.n;
  if (V.islast == 1 && V.iterative == 0) {
    ldl_solve(V.chol, b, x);
  } else if (V.iterative == 1) {
    vvmul(V.invD, b, x, n);
  } else {
    for (std::uint32_t i = 0; i < n; ++i)
      x[i] = 0;
    vvmul(V.invD, b, V.lws1, n);
    for (std::int32_t c = 1; c <= cycles; ++c) {
      if (c == 1)
        for (std::uint32_t i = 0; i < n; ++i)
          x[i] = V.lws1[i];
      else
        sweep(V, b, V.lws2, x);
      sspmv(n, V.A.a, V.A.ia, V.A.ja, x, V.lws2);
      vmv(b, V.lws2, V.lws2, n);
      rmvecmul(V.cI, V.lws2, n, V.sws1, V.nc, V.dc);
      preconditioner(levels, V.sws1, depth + 1, V.repeat, V.sws2);
      trmvecmul(V.cI, V.sws2, V.nc, V.lws2, n, V.dc);
      vpv(V.lws2, x, x, n);
      sweep(V, b, V.lws2, x);
    }
  }
  if (depth == 0 && V.laplacian == 1)
    x[n] = 0;
}
