#include "scene/tree.hpp"

CTree::CTree() {}
CTree::~CTree() {}
void CTree::Init() {}
void CTree::Draw() {}
