/* Host operations that kelvara's modules call, as declared by kelvara's own
 * host layer.  The modules are written against these names; built inside
 * Octave or MATLAB, the host's own header takes this one's place.
 *
 * Two interface generations: by default counts and sparse indices are
 * pointer-wide and unsigned, the way the large array interface of the host
 * passes them, and the plain names map to the _730 entry points; built with
 * KELVARA_INDEX32, they are signed 32-bit and the plain names map to the
 * _700 entry points, the generation of 32-bit platforms. */
#ifndef KELVARA_HOST_API_MEX_H
#define KELVARA_HOST_API_MEX_H

#include <stddef.h>
#include <stdbool.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct kx_array mxArray;
#ifdef KELVARA_INDEX32
typedef int mwSize;
typedef int mwIndex;
typedef int mwSignedIndex;
#define KX_API(name) name##_700
#else
typedef size_t mwSize;
typedef size_t mwIndex;
typedef ptrdiff_t mwSignedIndex;
#define KX_API(name) name##_730
#endif
typedef bool mxLogical;

typedef enum {
  mxUNKNOWN_CLASS = 0,
  mxCELL_CLASS = 1,
  mxSTRUCT_CLASS = 2,
  mxLOGICAL_CLASS = 3,
  mxCHAR_CLASS = 4,
  mxVOID_CLASS = 5,
  mxDOUBLE_CLASS = 6,
  mxSINGLE_CLASS = 7,
  mxINT8_CLASS = 8,
  mxUINT8_CLASS = 9,
  mxINT16_CLASS = 10,
  mxUINT16_CLASS = 11,
  mxINT32_CLASS = 12,
  mxUINT32_CLASS = 13,
  mxINT64_CLASS = 14,
  mxUINT64_CLASS = 15,
  mxFUNCTION_CLASS = 16
} mxClassID;

typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;

/* sizes and classes */
size_t mxGetM(const mxArray *a);
size_t mxGetN(const mxArray *a);
size_t mxGetNumberOfElements(const mxArray *a);
mwSize KX_API(mxGetNumberOfDimensions)(const mxArray *a);
const mwSize *KX_API(mxGetDimensions)(const mxArray *a);
mxClassID mxGetClassID(const mxArray *a);
bool mxIsSparse(const mxArray *a);
bool mxIsDouble(const mxArray *a);
bool mxIsSingle(const mxArray *a);
bool mxIsCell(const mxArray *a);
bool mxIsStruct(const mxArray *a);
bool mxIsLogical(const mxArray *a);
bool mxIsComplex(const mxArray *a);
bool mxIsEmpty(const mxArray *a);
bool mxIsClass(const mxArray *a, const char *name);

/* data */
double *mxGetPr(const mxArray *a);
double *mxGetPi(const mxArray *a);
void *mxGetData(const mxArray *a);
mxLogical *mxGetLogicals(const mxArray *a);
double mxGetScalar(const mxArray *a);
mwIndex *KX_API(mxGetIr)(const mxArray *a);
mwIndex *KX_API(mxGetJc)(const mxArray *a);
mwSize KX_API(mxGetNzmax)(const mxArray *a);

/* cells and structs: borrowed elements, null when absent */
mxArray *KX_API(mxGetCell)(const mxArray *a, mwIndex i);
mxArray *KX_API(mxGetField)(const mxArray *a, mwIndex i, const char *name);
int mxGetNumberOfFields(const mxArray *a);
const char *mxGetFieldNameByNumber(const mxArray *a, int k);

/* creation: every new array is zero-filled */
mxArray *KX_API(mxCreateDoubleMatrix)(mwSize m, mwSize n, mxComplexity c);
mxArray *mxCreateDoubleScalar(double v);
mxArray *KX_API(mxCreateNumericMatrix)(mwSize m, mwSize n, mxClassID cls, mxComplexity c);
/* the one exception: its values are left for the caller to write (the own
   host fills them with the byte 0xA5, so that a read before the write shows) */
mxArray *KX_API(mxCreateUninitNumericMatrix)(mwSize m, mwSize n, mxClassID cls, mxComplexity c);
mxArray *KX_API(mxCreateNumericArray)(mwSize ndim, const mwSize *dims, mxClassID cls,
                                  mxComplexity c);
mxArray *KX_API(mxCreateLogicalMatrix)(mwSize m, mwSize n);
mxArray *KX_API(mxCreateSparse)(mwSize m, mwSize n, mwSize nzmax, mxComplexity c);
mxArray *KX_API(mxCreateSparseLogicalMatrix)(mwSize m, mwSize n, mwSize nzmax);
mxArray *KX_API(mxCreateCellMatrix)(mwSize m, mwSize n);
mxArray *KX_API(mxCreateStructMatrix)(mwSize m, mwSize n, int nfields, const char **names);
mxArray *mxCreateString(const char *s);
void KX_API(mxSetCell)(mxArray *a, mwIndex i, mxArray *v);
void KX_API(mxSetField)(mxArray *a, mwIndex i, const char *name, mxArray *v);
mxArray *mxDuplicateArray(const mxArray *a);
void mxDestroyArray(mxArray *a);

/* host memory */
void *mxMalloc(size_t n);
void *mxCalloc(size_t n, size_t size);
void *mxRealloc(void *p, size_t n);
void mxFree(void *p);

/* errors end the call and never return */
void mexErrMsgTxt(const char *msg);
void mexErrMsgIdAndTxt(const char *id, const char *fmt, ...);
void mexWarnMsgTxt(const char *msg);

/* the call back into the host */
int mexCallMATLAB(int nlhs, mxArray *plhs[], int nrhs, mxArray *prhs[], const char *name);

/* the module's entry, exported by every module */
void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

#ifdef __cplusplus
}
#endif

#define mxGetNumberOfDimensions KX_API(mxGetNumberOfDimensions)
#define mxGetDimensions KX_API(mxGetDimensions)
#define mxGetIr KX_API(mxGetIr)
#define mxGetJc KX_API(mxGetJc)
#define mxGetNzmax KX_API(mxGetNzmax)
#define mxGetCell KX_API(mxGetCell)
#define mxGetField KX_API(mxGetField)
#define mxSetCell KX_API(mxSetCell)
#define mxSetField KX_API(mxSetField)
#define mxCreateDoubleMatrix KX_API(mxCreateDoubleMatrix)
#define mxCreateNumericMatrix KX_API(mxCreateNumericMatrix)
#define mxCreateUninitNumericMatrix KX_API(mxCreateUninitNumericMatrix)
#define mxCreateNumericArray KX_API(mxCreateNumericArray)
#define mxCreateLogicalMatrix KX_API(mxCreateLogicalMatrix)
#define mxCreateSparse KX_API(mxCreateSparse)
#define mxCreateSparseLogicalMatrix KX_API(mxCreateSparseLogicalMatrix)
#define mxCreateCellMatrix KX_API(mxCreateCellMatrix)
#define mxCreateStructMatrix KX_API(mxCreateStructMatrix)

#endif
