/* Host operations that kelvara's modules call, as declared by kelvara's own
 * host layer.  The modules are written against these names; built inside
 * Octave or MATLAB, the host's own header takes this one's place.
 *
 * Counts and sparse indices are pointer-wide and unsigned, the way the large
 * array interface of the host passes them; the plain names are mapped to
 * their 64-bit (_730) entry points. */
#ifndef KELVARA_HOST_API_MEX_H
#define KELVARA_HOST_API_MEX_H

#include <stddef.h>
#include <stdbool.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct kx_array mxArray;
typedef size_t mwSize;
typedef size_t mwIndex;
typedef ptrdiff_t mwSignedIndex;
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
mwSize mxGetNumberOfDimensions_730(const mxArray *a);
const mwSize *mxGetDimensions_730(const mxArray *a);
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
mwIndex *mxGetIr_730(const mxArray *a);
mwIndex *mxGetJc_730(const mxArray *a);
mwSize mxGetNzmax_730(const mxArray *a);

/* cells and structs: borrowed elements, null when absent */
mxArray *mxGetCell_730(const mxArray *a, mwIndex i);
mxArray *mxGetField_730(const mxArray *a, mwIndex i, const char *name);
int mxGetNumberOfFields(const mxArray *a);
const char *mxGetFieldNameByNumber(const mxArray *a, int k);

/* creation: every new array is zero-filled */
mxArray *mxCreateDoubleMatrix_730(mwSize m, mwSize n, mxComplexity c);
mxArray *mxCreateDoubleScalar(double v);
mxArray *mxCreateNumericMatrix_730(mwSize m, mwSize n, mxClassID cls, mxComplexity c);
mxArray *mxCreateNumericArray_730(mwSize ndim, const mwSize *dims, mxClassID cls,
                                  mxComplexity c);
mxArray *mxCreateLogicalMatrix_730(mwSize m, mwSize n);
mxArray *mxCreateSparse_730(mwSize m, mwSize n, mwSize nzmax, mxComplexity c);
mxArray *mxCreateSparseLogicalMatrix_730(mwSize m, mwSize n, mwSize nzmax);
mxArray *mxCreateCellMatrix_730(mwSize m, mwSize n);
mxArray *mxCreateStructMatrix_730(mwSize m, mwSize n, int nfields, const char **names);
mxArray *mxCreateString(const char *s);
void mxSetCell_730(mxArray *a, mwIndex i, mxArray *v);
void mxSetField_730(mxArray *a, mwIndex i, const char *name, mxArray *v);
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

#define mxGetNumberOfDimensions mxGetNumberOfDimensions_730
#define mxGetDimensions mxGetDimensions_730
#define mxGetIr mxGetIr_730
#define mxGetJc mxGetJc_730
#define mxGetNzmax mxGetNzmax_730
#define mxGetCell mxGetCell_730
#define mxGetField mxGetField_730
#define mxSetCell mxSetCell_730
#define mxSetField mxSetField_730
#define mxCreateDoubleMatrix mxCreateDoubleMatrix_730
#define mxCreateNumericMatrix mxCreateNumericMatrix_730
#define mxCreateNumericArray mxCreateNumericArray_730
#define mxCreateLogicalMatrix mxCreateLogicalMatrix_730
#define mxCreateSparse mxCreateSparse_730
#define mxCreateSparseLogicalMatrix mxCreateSparseLogicalMatrix_730
#define mxCreateCellMatrix mxCreateCellMatrix_730
#define mxCreateStructMatrix mxCreateStructMatrix_730

#endif
