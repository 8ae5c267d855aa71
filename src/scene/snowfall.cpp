#include "scene/snowfall.hpp"

CSnowfall::CSnowfall() = default;
CSnowfall::~CSnowfall() = default;
void CSnowfall::Init() {}
void CSnowfall::Draw(float) {}
