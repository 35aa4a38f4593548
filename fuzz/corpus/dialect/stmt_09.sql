select  top 1 FTableName from ICClassTypeEntry where FParentID=1001906
 and ((FIndex = 2 and FEntryType = 0) or FIndex = 1 ) order by FIndex desc 