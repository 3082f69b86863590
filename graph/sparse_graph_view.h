// sparse_graph_view: a read-only directed graph over the structure of a
// square sparse matrix, for the graph library's traversals.  The entry at
// position p of column j is the edge from vertex j to vertex ir[p]; the
// out-edges of u are the entries of column u in stored order.  The view
// borrows the column starts and row indices and never reads the values.
//
// Templated on the index type of the arrays: unsigned pointer-wide in the
// project's own host, signed 64-bit in Octave.
#ifndef KELVARA_GRAPH_SPARSE_GRAPH_VIEW_H
#define KELVARA_GRAPH_SPARSE_GRAPH_VIEW_H

#include <boost/graph/graph_traits.hpp>
#include <boost/graph/properties.hpp>
#include <boost/iterator/counting_iterator.hpp>
#include <boost/iterator/iterator_facade.hpp>
#include <boost/property_map/property_map.hpp>

#include <limits>
#include <utility>

namespace kelvara {

template <class Index> struct sparse_graph_view {
  Index n;          // vertex count
  Index nnz;        // edge count, jc[n]
  const Index *jc;  // n+1 column starts
  const Index *ir;  // jc[n] row indices
  sparse_graph_view(Index n, const Index *jc, const Index *ir) : n(n), nnz(jc[n]), jc(jc), ir(ir)
  {
  }
};

// An edge: its source vertex and its position in the entry arrays.
template <class Index> struct sparse_edge {
  Index u = 0, p = 0;
  friend bool operator==(const sparse_edge &a, const sparse_edge &b) { return a.p == b.p; }
  friend bool operator!=(const sparse_edge &a, const sparse_edge &b) { return a.p != b.p; }
};

// Walks the out-edges of one vertex: its source and the current position.
template <class Index>
class sparse_out_edge_iterator
    : public boost::iterator_facade<sparse_out_edge_iterator<Index>, sparse_edge<Index>,
                                    boost::forward_traversal_tag, sparse_edge<Index>> {
public:
  sparse_out_edge_iterator() = default;
  sparse_out_edge_iterator(Index u, Index p) : e_{u, p} {}

private:
  friend class boost::iterator_core_access;
  sparse_edge<Index> dereference() const { return e_; }
  bool equal(const sparse_out_edge_iterator &o) const { return e_.p == o.e_.p; }
  void increment() { ++e_.p; }
  sparse_edge<Index> e_;
};

struct sparse_graph_traversal : boost::incidence_graph_tag, boost::vertex_list_graph_tag {};

} // namespace kelvara

namespace boost {

template <class Index> struct graph_traits<kelvara::sparse_graph_view<Index>> {
  using vertex_descriptor = Index;
  using edge_descriptor = kelvara::sparse_edge<Index>;
  using directed_category = directed_tag;
  using edge_parallel_category = disallow_parallel_edge_tag;
  using traversal_category = kelvara::sparse_graph_traversal;
  using out_edge_iterator = kelvara::sparse_out_edge_iterator<Index>;
  using degree_size_type = Index;
  using vertex_iterator = counting_iterator<Index>;
  using vertices_size_type = Index;
  using edges_size_type = Index;
  static vertex_descriptor null_vertex() { return std::numeric_limits<Index>::max(); }
};

// The vertex index map is the identity.
template <class Index> struct property_map<kelvara::sparse_graph_view<Index>, vertex_index_t> {
  using type = typed_identity_property_map<Index>;
  using const_type = type;
};

} // namespace boost

namespace kelvara {

template <class Index> Index num_vertices(const sparse_graph_view<Index> &g) { return g.n; }

template <class Index>
std::pair<boost::counting_iterator<Index>, boost::counting_iterator<Index>>
vertices(const sparse_graph_view<Index> &g)
{
  return {boost::counting_iterator<Index>(0), boost::counting_iterator<Index>(g.n)};
}

template <class Index>
std::pair<sparse_out_edge_iterator<Index>, sparse_out_edge_iterator<Index>>
out_edges(Index u, const sparse_graph_view<Index> &g)
{
  return {sparse_out_edge_iterator<Index>(u, g.jc[u]),
          sparse_out_edge_iterator<Index>(u, g.jc[u + 1])};
}

template <class Index> Index out_degree(Index u, const sparse_graph_view<Index> &g)
{
  return g.jc[u + 1] - g.jc[u];
}

template <class Index> Index source(const sparse_edge<Index> &e, const sparse_graph_view<Index> &)
{
  return e.u;
}

template <class Index> Index target(const sparse_edge<Index> &e, const sparse_graph_view<Index> &g)
{
  return g.ir[e.p];
}

template <class Index>
boost::typed_identity_property_map<Index> get(boost::vertex_index_t,
                                              const sparse_graph_view<Index> &)
{
  return {};
}

// A per-vertex property held in a plain array indexed by vertex number.
template <class Index, class T>
boost::iterator_property_map<T *, boost::typed_identity_property_map<Index>>
vertex_array(const sparse_graph_view<Index> &, T *a)
{
  return boost::make_iterator_property_map(a, boost::typed_identity_property_map<Index>());
}

} // namespace kelvara

#endif
