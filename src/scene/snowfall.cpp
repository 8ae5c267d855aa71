#include "scene/snowfall.hpp"

CSnowfall::CSnowfall() : m_flakes(new SnowFlake[kFlakeCount]) {}
CSnowfall::~CSnowfall() { delete[] m_flakes; }
void CSnowfall::Init() {}
void CSnowfall::Draw(float) {}
