// sparse_graph_view: a read-only directed graph over the structure of a
// square sparse matrix, for the graph library's traversals.  The entry at
// position p of column j is the edge from vertex j to vertex ir[p]; the
// out-edges of u are the entries of column u in stored order.  The view
// borrows the column starts and row indices and never reads the values.
//
// Templated on the index type of the arrays (unsigned pointer-wide in the
// project's own host, signed 64-bit in Octave) and on the type of the
// vertex numbers and edge positions it hands out (the index type, or a
// narrower one that holds n and jc[n]: the library's depth-first search
// keeps one descriptor record per level of depth, and narrower records
// halve the memory a deep search touches).
#ifndef KELVARA_GRAPH_SPARSE_GRAPH_VIEW_H
#define KELVARA_GRAPH_SPARSE_GRAPH_VIEW_H

#include <boost/graph/graph_traits.hpp>
#include <boost/graph/properties.hpp>
#include <boost/iterator/counting_iterator.hpp>
#include <boost/iterator/iterator_facade.hpp>
#include <boost/property_map/property_map.hpp>

#include <algorithm>
#include <limits>
#include <utility>

namespace kelvara {

template <class Index, class Vertex = Index> struct sparse_graph_view {
  using index_type = Index;
  using vertex_type = Vertex;
  Vertex n;         // vertex count
  Index nnz;        // edge count, jc[n]
  const Index *jc;  // n+1 column starts
  const Index *ir;  // jc[n] row indices
  sparse_graph_view(Vertex n, const Index *jc, const Index *ir) : n(n), nnz(jc[n]), jc(jc), ir(ir)
  {
  }
};

// An edge: its position in the entry arrays.  The searches keep one edge
// and two out-edge iterators per level of depth, so neither carries its
// source: source() finds the column that holds the position, which no
// search of the library's asks for on its way.
template <class Vertex> struct sparse_edge {
  Vertex p = 0;
  friend bool operator==(const sparse_edge &a, const sparse_edge &b) { return a.p == b.p; }
  friend bool operator!=(const sparse_edge &a, const sparse_edge &b) { return a.p != b.p; }
};

// Walks the out-edges of one vertex: the current position.
template <class Vertex>
class sparse_out_edge_iterator
    : public boost::iterator_facade<sparse_out_edge_iterator<Vertex>, sparse_edge<Vertex>,
                                    boost::forward_traversal_tag, sparse_edge<Vertex>> {
public:
  sparse_out_edge_iterator() = default;
  explicit sparse_out_edge_iterator(Vertex p) : e_{p} {}

private:
  friend class boost::iterator_core_access;
  sparse_edge<Vertex> dereference() const { return e_; }
  bool equal(const sparse_out_edge_iterator &o) const { return e_.p == o.e_.p; }
  void increment() { ++e_.p; }
  sparse_edge<Vertex> e_;
};

struct sparse_graph_traversal : boost::incidence_graph_tag, boost::vertex_list_graph_tag {};

} // namespace kelvara

namespace boost {

template <class Index, class Vertex> struct graph_traits<kelvara::sparse_graph_view<Index, Vertex>> {
  using vertex_descriptor = Vertex;
  using edge_descriptor = kelvara::sparse_edge<Vertex>;
  using directed_category = directed_tag;
  using edge_parallel_category = disallow_parallel_edge_tag;
  using traversal_category = kelvara::sparse_graph_traversal;
  using out_edge_iterator = kelvara::sparse_out_edge_iterator<Vertex>;
  using degree_size_type = Vertex;
  using vertex_iterator = counting_iterator<Vertex>;
  using vertices_size_type = Vertex;
  using edges_size_type = Vertex;
  static vertex_descriptor null_vertex() { return std::numeric_limits<Vertex>::max(); }
};

// The vertex index map is the identity.
template <class Index, class Vertex>
struct property_map<kelvara::sparse_graph_view<Index, Vertex>, vertex_index_t> {
  using type = typed_identity_property_map<Vertex>;
  using const_type = type;
};

} // namespace boost

namespace kelvara {

template <class I, class V> V num_vertices(const sparse_graph_view<I, V> &g) { return g.n; }

template <class I, class V>
std::pair<boost::counting_iterator<V>, boost::counting_iterator<V>>
vertices(const sparse_graph_view<I, V> &g)
{
  return {boost::counting_iterator<V>(0), boost::counting_iterator<V>(g.n)};
}

template <class I, class V>
std::pair<sparse_out_edge_iterator<V>, sparse_out_edge_iterator<V>>
out_edges(V u, const sparse_graph_view<I, V> &g)
{
  return {sparse_out_edge_iterator<V>(static_cast<V>(g.jc[u])),
          sparse_out_edge_iterator<V>(static_cast<V>(g.jc[u + 1]))};
}

template <class I, class V> V out_degree(V u, const sparse_graph_view<I, V> &g)
{
  return static_cast<V>(g.jc[u + 1] - g.jc[u]);
}

// The last column starting at or before the edge's position: columns
// without entries start where the next one does, so it is the one that
// holds the edge.
template <class I, class V> V source(const sparse_edge<V> &e, const sparse_graph_view<I, V> &g)
{
  const I *c = std::upper_bound(g.jc, g.jc + g.n + 1, static_cast<I>(e.p));
  return static_cast<V>(c - g.jc - 1);
}

template <class I, class V> V target(const sparse_edge<V> &e, const sparse_graph_view<I, V> &g)
{
  return static_cast<V>(g.ir[e.p]);
}

template <class I, class V>
boost::typed_identity_property_map<V> get(boost::vertex_index_t, const sparse_graph_view<I, V> &)
{
  return {};
}

// A per-vertex property held in a plain array indexed by vertex number.
template <class I, class V, class T>
boost::iterator_property_map<T *, boost::typed_identity_property_map<V>>
vertex_array(const sparse_graph_view<I, V> &, T *a)
{
  return boost::make_iterator_property_map(a, boost::typed_identity_property_map<V>());
}

} // namespace kelvara

#endif
