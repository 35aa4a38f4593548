select T1.* from t_MeasureUnit t1 where t1.funitgroupid=
   (select a.funitgroupid from t_MeasureUnit a,t_icitem b where a.fitemid=b.funitid and b.fitemid=3)