// The shared platform library's own object: its content comes whole from the
// static libraries of platform/data, net, ui, lib and hostdb.
