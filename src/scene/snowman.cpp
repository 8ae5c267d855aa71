#include "scene/snowman.hpp"

CSnowman::CSnowman() {}
CSnowman::~CSnowman() {}
void CSnowman::Init() {}
void CSnowman::Draw() {}
