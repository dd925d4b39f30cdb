#pragma once
// Unit Procurar: the find dialog over a dataset; a row found becomes the
// current record. A closed dataset has nothing to find and shows nothing.

class TClientDataSet;

void Procura(TClientDataSet& dataSet);
