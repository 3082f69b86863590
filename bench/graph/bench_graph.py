# Times scipy.sparse.csgraph and python-igraph on the graphs that
# bench_graph.m wrote: FILE.jc and FILE.ir hold the int64 column starts and
# row indices (an entry in row i, column j is the edge j -> i).  Only the
# algorithms are timed, not the loading or the graph construction.
# numpy asks the system for huge pages for its large arrays, and Octave's
# arrays lie on 4 KiB pages; so scipy is timed a second time with that
# advice turned off ("scipy4k"), its graph and results on 4 KiB pages too.
# Usage: /usr/bin/python3 bench_graph.py FILE [FILE ...]; one line per
# graph and algorithm: "name algorithm library seconds".
import sys
import time

import igraph
import numpy as np
import scipy.sparse as sp
from numpy.core.multiarray import _set_madvise_hugepage
from scipy.sparse import csgraph


def best(f, reps=5):
    t = float("inf")
    for _ in range(reps):
        t0 = time.perf_counter()
        f()
        t = min(t, time.perf_counter() - t0)
    return t


for path in sys.argv[1:]:
    jc = np.fromfile(path + ".jc", dtype=np.int64)
    ir = np.fromfile(path + ".ir", dtype=np.int64)
    n = jc.size - 1
    # Column j of the matrix lists the out-neighbours of j: read as rows of
    # a CSR matrix, M[j, i] is the edge j -> i, as csgraph takes it.
    M = sp.csr_matrix((np.ones(ir.size), ir.astype(np.int32), jc.astype(np.int32)), shape=(n, n))
    src = np.repeat(np.arange(n, dtype=np.int64), np.diff(jc))
    G = igraph.Graph(n=n, edges=np.column_stack((src, ir)), directed=True)
    name = path.rsplit("/", 1)[-1]
    if name.endswith("_dag"):
        print(name, "topo", "igraph", best(lambda: G.topological_sorting()))
        continue
    print(name, "bfs", "scipy",
          best(lambda: csgraph.breadth_first_order(M, 0, directed=True, return_predecessors=True)))
    print(name, "bfs", "igraph", best(lambda: G.bfs(0)))
    print(name, "scc", "scipy",
          best(lambda: csgraph.connected_components(M, directed=True, connection="strong")))
    print(name, "scc", "igraph", best(lambda: G.connected_components(mode="strong")))
    _set_madvise_hugepage(False)
    M = sp.csr_matrix((np.ones(ir.size), ir.astype(np.int32), jc.astype(np.int32)), shape=(n, n))
    print(name, "bfs", "scipy4k",
          best(lambda: csgraph.breadth_first_order(M, 0, directed=True, return_predecessors=True)))
    print(name, "scc", "scipy4k",
          best(lambda: csgraph.connected_components(M, directed=True, connection="strong")))
    _set_madvise_hugepage(True)
    sys.stdout.flush()
