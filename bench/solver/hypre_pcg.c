/* Solves one system file with hypre's PCG preconditioned by one BoomerAMG
 * V-cycle per iteration, on one MPI rank, once per setting named on the
 * command line.
 *
 * Usage: hypre_pcg SYSTEM XPREFIX TOL MAXIT SETTING...
 *   SYSTEM   files SYSTEM.A (int64 n, nnz; int64 column starts[n+1];
 *            int64 row indices[nnz]; double values[nnz]; a symmetric matrix,
 *            so its columns are its rows) and SYSTEM.b (double[n]).
 *   SETTING  name:coarsen:interp:theta:agglevels:pmax, BoomerAMG's numbers
 *            (coarsen 6 Falgout, 8 PMIS, 10 HMIS; interp 0 classical,
 *            6 extended+i).
 * For each setting prints "RESULT name setup_s iterations solve_s relres
 * setup_wall_s solve_wall_s" (times in CPU seconds of this process, then in
 * wall-clock seconds; relres as PCG reports it) and writes x to
 * XPREFIX_name.x (double[n]).  Setup is the BoomerAMG setup; moving the
 * matrix into hypre is not timed. */
#include <mpi.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include "HYPRE.h"
#include "HYPRE_IJ_mv.h"
#include "HYPRE_parcsr_ls.h"

static double now(clockid_t clock)
{
  struct timespec t;
  clock_gettime(clock, &t);
  return t.tv_sec + 1e-9 * t.tv_nsec;
}

static void *slurp(const char *path, size_t *bytes)
{
  FILE *f = fopen(path, "rb");
  if (!f) { fprintf(stderr, "hypre_pcg: cannot open %s\n", path); exit(1); }
  fseek(f, 0, SEEK_END);
  long len = ftell(f);
  fseek(f, 0, SEEK_SET);
  void *p = malloc(len > 0 ? (size_t)len : 1);
  if (!p || fread(p, 1, (size_t)len, f) != (size_t)len) {
    fprintf(stderr, "hypre_pcg: cannot read %s\n", path);
    exit(1);
  }
  fclose(f);
  *bytes = (size_t)len;
  return p;
}

static void spill(const char *path, const double *x, HYPRE_Int n)
{
  FILE *f = fopen(path, "wb");
  if (!f || fwrite(x, sizeof *x, (size_t)n, f) != (size_t)n) {
    fprintf(stderr, "hypre_pcg: cannot write %s\n", path);
    exit(1);
  }
  fclose(f);
}

/* One PCG + BoomerAMG solve with the setting s; returns nonzero on a bad setting. */
static int solve(HYPRE_ParCSRMatrix A, HYPRE_IJVector bij, HYPRE_IJVector xij, HYPRE_Int n,
                 double tol, int maxit, char *s, const char *xprefix)
{
  char *name = strtok(s, ":");
  char *f[5];
  for (int k = 0; k < 5; k++)
    if (!(f[k] = strtok(NULL, ":"))) return 1;
  HYPRE_ParVector b, x;
  HYPRE_IJVectorGetObject(bij, (void **)&b);
  HYPRE_IJVectorGetObject(xij, (void **)&x);
  HYPRE_ParVectorSetConstantValues(x, 0.0);

  HYPRE_Solver amg, pcg;
  HYPRE_BoomerAMGCreate(&amg);
  HYPRE_BoomerAMGSetCoarsenType(amg, atoi(f[0]));
  HYPRE_BoomerAMGSetInterpType(amg, atoi(f[1]));
  HYPRE_BoomerAMGSetStrongThreshold(amg, atof(f[2]));
  HYPRE_BoomerAMGSetAggNumLevels(amg, atoi(f[3]));
  HYPRE_BoomerAMGSetPMaxElmts(amg, atoi(f[4]));
  HYPRE_BoomerAMGSetMaxIter(amg, 1);
  HYPRE_BoomerAMGSetTol(amg, 0.0);
  HYPRE_BoomerAMGSetPrintLevel(amg, 0);

  HYPRE_ParCSRPCGCreate(MPI_COMM_WORLD, &pcg);
  HYPRE_ParCSRPCGSetTol(pcg, tol);
  HYPRE_ParCSRPCGSetMaxIter(pcg, maxit);
  HYPRE_ParCSRPCGSetTwoNorm(pcg, 1);
  HYPRE_ParCSRPCGSetPrecond(pcg, HYPRE_BoomerAMGSolve, HYPRE_BoomerAMGSetup, amg);

  double c0 = now(CLOCK_PROCESS_CPUTIME_ID), w0 = now(CLOCK_MONOTONIC);
  HYPRE_ParCSRPCGSetup(pcg, A, b, x);
  double c1 = now(CLOCK_PROCESS_CPUTIME_ID), w1 = now(CLOCK_MONOTONIC);
  HYPRE_ParCSRPCGSolve(pcg, A, b, x);
  double c2 = now(CLOCK_PROCESS_CPUTIME_ID), w2 = now(CLOCK_MONOTONIC);
  HYPRE_Int iters;
  double relres;
  HYPRE_ParCSRPCGGetNumIterations(pcg, &iters);
  HYPRE_ParCSRPCGGetFinalRelativeResidualNorm(pcg, &relres);
  printf("RESULT %s %.6f %d %.6f %.3e %.6f %.6f\n", name, c1 - c0, (int)iters, c2 - c1, relres,
         w1 - w0, w2 - w1);
  fflush(stdout);

  double *xv = malloc(sizeof *xv * (size_t)(n > 0 ? n : 1));
  HYPRE_Int *rows = malloc(sizeof *rows * (size_t)(n > 0 ? n : 1));
  for (HYPRE_Int i = 0; i < n; i++) rows[i] = i;
  HYPRE_IJVectorGetValues(xij, n, rows, xv);
  char path[4096];
  snprintf(path, sizeof path, "%s_%s.x", xprefix, name);
  spill(path, xv, n);
  free(rows);
  free(xv);
  HYPRE_ParCSRPCGDestroy(pcg);
  HYPRE_BoomerAMGDestroy(amg);
  return 0;
}

int main(int argc, char **argv)
{
  if (argc < 6) {
    fprintf(stderr, "usage: hypre_pcg SYSTEM XPREFIX TOL MAXIT name:coarsen:interp:theta:agg:pmax...\n");
    return 2;
  }
  MPI_Init(&argc, &argv);
  HYPRE_Init();

  char path[4096];
  size_t bytes;
  snprintf(path, sizeof path, "%s.A", argv[1]);
  int64_t *file = slurp(path, &bytes);
  int64_t n64 = file[0], nnz = file[1];
  if (bytes != (size_t)(2 + n64 + 1 + nnz) * 8 + (size_t)nnz * 8) {
    fprintf(stderr, "hypre_pcg: %s has the wrong size\n", path);
    return 1;
  }
  const int64_t *jc = file + 2, *ir = jc + n64 + 1;
  const double *pr = (const double *)(ir + nnz);
  HYPRE_Int n = (HYPRE_Int)n64;

  /* The IJ interface takes rows; a symmetric matrix's columns are its rows. */
  HYPRE_IJMatrix Aij;
  HYPRE_IJMatrixCreate(MPI_COMM_WORLD, 0, n - 1, 0, n - 1, &Aij);
  HYPRE_IJMatrixSetObjectType(Aij, HYPRE_PARCSR);
  HYPRE_Int *sizes = malloc(sizeof *sizes * (size_t)(n > 0 ? n : 1));
  for (HYPRE_Int i = 0; i < n; i++) sizes[i] = (HYPRE_Int)(jc[i + 1] - jc[i]);
  HYPRE_IJMatrixSetRowSizes(Aij, sizes);
  HYPRE_IJMatrixInitialize(Aij);
  HYPRE_Int *cols = malloc(sizeof *cols * (size_t)(nnz > 0 ? nnz : 1));
  HYPRE_Int *rows = malloc(sizeof *rows * (size_t)(n > 0 ? n : 1));
  for (int64_t k = 0; k < nnz; k++) cols[k] = (HYPRE_Int)ir[k];
  for (HYPRE_Int i = 0; i < n; i++) rows[i] = i;
  HYPRE_IJMatrixSetValues(Aij, n, sizes, rows, cols, pr);
  HYPRE_IJMatrixAssemble(Aij);
  free(cols);
  free(sizes);
  free(file);
  HYPRE_ParCSRMatrix A;
  HYPRE_IJMatrixGetObject(Aij, (void **)&A);

  snprintf(path, sizeof path, "%s.b", argv[1]);
  double *bv = slurp(path, &bytes);
  if (bytes != (size_t)n * 8) {
    fprintf(stderr, "hypre_pcg: %s has the wrong size\n", path);
    return 1;
  }
  HYPRE_IJVector bij, xij;
  HYPRE_IJVectorCreate(MPI_COMM_WORLD, 0, n - 1, &bij);
  HYPRE_IJVectorSetObjectType(bij, HYPRE_PARCSR);
  HYPRE_IJVectorInitialize(bij);
  HYPRE_IJVectorSetValues(bij, n, rows, bv);
  HYPRE_IJVectorAssemble(bij);
  HYPRE_IJVectorCreate(MPI_COMM_WORLD, 0, n - 1, &xij);
  HYPRE_IJVectorSetObjectType(xij, HYPRE_PARCSR);
  HYPRE_IJVectorInitialize(xij);
  HYPRE_IJVectorAssemble(xij);
  free(bv);
  free(rows);

  double tol = atof(argv[3]);
  int maxit = atoi(argv[4]);
  for (int k = 5; k < argc; k++)
    if (solve(A, bij, xij, n, tol, maxit, argv[k], argv[2])) {
      fprintf(stderr, "hypre_pcg: bad setting %s\n", argv[k]);
      return 2;
    }

  HYPRE_IJVectorDestroy(xij);
  HYPRE_IJVectorDestroy(bij);
  HYPRE_IJMatrixDestroy(Aij);
  HYPRE_Finalize();
  MPI_Finalize();
  return 0;
}
